#include "TestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include "shared/LibCommaText.h"
#include "shared/LibHyperlink.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <csignal>
#include <cstdio>
#include <QSslKey>
#include <QTcpSocket>

namespace {

const char* const XdgFolders[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"};

QString MakeXdgFolder(const QString& root, const char* name)
{
    const QString folder = root + QLatin1Char('/') + QString::fromLatin1(name).toLower();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

} // namespace

TStandardError::TStandardError() : FSaved(dup(STDERR_FILENO))
{
    std::fflush(stderr);
    const int file = ::open(QFile::encodeName(FFolder.filePath(QStringLiteral("stderr"))).constData(), O_WRONLY | O_CREAT, 0600);
    dup2(file, STDERR_FILENO);
    ::close(file);
}

TStandardError::~TStandardError()
{
    std::fflush(stderr);
    dup2(FSaved, STDERR_FILENO);
    ::close(FSaved);
}

QString TStandardError::Text() const
{
    std::fflush(stderr);
    QFile file(FFolder.filePath(QStringLiteral("stderr")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TTestEnvironment::TTestEnvironment()
{
    for (const char* name : XdgFolders)
        qputenv(name, MakeXdgFolder(FRoot.path(), name).toLocal8Bit());
}

int RunInApplication(int argc, char* argv[], const std::function<int(int, char**)>& run)
{
    TTestEnvironment environment;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    PrepareWebEngine(argc, argv);
    TApplication application(argc, argv);
    SetApplicationTitle(QStringLiteral("Orvanta"));
    return run(argc, argv);
}

QProcessEnvironment ProgramEnvironment(const QString& root)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : XdgFolders)
        environment.insert(QString::fromLatin1(name), MakeXdgFolder(root, name));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    return environment;
}

void SendSignal(const QProcess& program, int signal)
{
    if (program.state() == QProcess::Running && program.processId() > 0)
        ::kill(pid_t(program.processId()), signal);
}

QString ConfigFileUnder(const QString& root)
{
    return root + QStringLiteral("/xdg_config_home/Quenbrook/Orvanta.conf");
}

QString SystemConfigFileUnder(const QString& root)
{
    return root + QStringLiteral("/xdg_config_dirs/Quenbrook/Orvanta.conf");
}

void StartProgram(QProcess& program, const QProcessEnvironment& environment)
{
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(qEnvironmentVariable("ORVANTA_BINARY"));
}

void StoreSitesIn(const QString& configFile, const QStringList& titles, const QStringList& urls,
                  const QMap<QString, QString>& settings)
{
    QSettings store(configFile, QSettings::IniFormat);
    store.setValue("Sites/Titles", ToCommaText(titles));
    store.setValue("Sites/Urls", ToCommaText(urls));
    for (auto it = settings.begin(); it != settings.end(); ++it)
        store.setValue("Settings/" + it.key(), it.value());
}

QString TTestEnvironment::Root() const
{
    return FRoot.path();
}

QString ConfigFolder()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Quenbrook");
}

QString ConfigFile()
{
    return ConfigFolder() + QStringLiteral("/Orvanta.conf");
}

QString SystemConfigFile()
{
    return qEnvironmentVariable("XDG_CONFIG_DIRS") + QStringLiteral("/Quenbrook/Orvanta.conf");
}

namespace {

void WriteFile(const QString& name, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

void WriteConfig(const QByteArray& content)
{
    WriteFile(ConfigFile(), content);
}

void WriteSystemConfig(const QByteArray& content)
{
    WriteFile(SystemConfigFile(), content);
}

QByteArray ReadConfig()
{
    QFile file(ConfigFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void RemoveConfig()
{
    QFileInfo folder(ConfigFolder());
    if (folder.isDir())
        QDir(ConfigFolder()).removeRecursively();
    else
        QFile::remove(ConfigFolder());
    QFile::remove(SystemConfigFile());
}

TMessageLog::TMessageLog()
    : FPrevious(SetMessageBoxHook([this](const QString& caption, const QString& text, TMessageIcon icon) {
        Messages.append({caption, text, icon});
    }))
{
}

TMessageLog::~TMessageLog()
{
    SetMessageBoxHook(FPrevious);
}

QStringList TMessageLog::Texts() const
{
    QStringList texts;
    for (const TMessage& message : Messages)
        texts.append(message.Text);
    return texts;
}

TShellLog::TShellLog()
{
    SetShellOpenHook([this](const QString& target) {
        Targets.append(target);
        return 42;
    });
}

TShellLog::~TShellLog()
{
    SetShellOpenHook({});
}

THttpServer::THttpServer()
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString THttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void THttpServer::SetPage(const QString& path, const QByteArray& html, const QByteArray& extraHeaders)
{
    FPages.insert(path, {html, extraHeaders});
}

void THttpServer::SetEndless(const QString& path)
{
    FEndless.append(path);
}

void THttpServer::SetRedirect(const QString& path, const QString& target)
{
    FRedirects.insert(path, target);
}

void THttpServer::SetCut(const QString& path, const QByteArray& extraHeaders)
{
    FCut.insert(path, extraHeaders);
}

void THttpServer::SetStalled(const QString& path, const QByteArray& extraHeaders)
{
    FCut.insert(path, extraHeaders);
    FStalled.append(path);
}

void THttpServer::SetSignIn(const QString& path, const QString& user, const QString& password)
{
    FSignIns.insert(path, "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64());
}

int THttpServer::Count(const QString& path) const
{
    int count = 0;
    for (const TRequest& request : Requests)
        count += request.Path == path ? 1 : 0;
    return count;
}

int THttpServer::Total() const
{
    return Requests.size();
}

void THttpServer::Serve(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("buffer", buffer.mid(end + 4));
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    TRequest request;
    request.Path = QString::fromLatin1(lines.value(0).split(' ').value(1));
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines.at(i).indexOf(':');
        if (colon > 0)
            request.Headers.insert(lines.at(i).left(colon).trimmed().toLower(), lines.at(i).mid(colon + 1).trimmed());
    }
    Requests.append(request);
    if (FEndless.contains(request.Path)) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100000\r\n\r\n"
                      "<html><head><title>Endless</title></head><body>Loading for ever");
        return;
    }
    if (FSignIns.contains(request.Path) && request.Headers.value("authorization") != FSignIns.value(request.Path)) {
        const QByteArray body = "<html><head><title>Refused</title></head><body>Sign in first</body></html>";
        socket->write("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"Console\"\r\nContent-Type: text/html\r\n"
                      "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
        return;
    }
    if (FCut.contains(request.Path)) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n" + FCut.value(request.Path)
                      + "Content-Length: 100000\r\n\r\n" + QByteArray(1000, 'x'));
        socket->flush();
        if (!FStalled.contains(request.Path))
            socket->disconnectFromHost();
        return;
    }
    if (FRedirects.contains(request.Path)) {
        socket->write("HTTP/1.1 302 Found\r\nLocation: " + FRedirects.value(request.Path).toLatin1() +
                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    const bool known = FPages.contains(request.Path);
    const auto [html, extra] = FPages.value(request.Path, {QByteArrayLiteral("<html><body>Not here</body></html>"), {}});
    QByteArray response = known ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
    response += "Content-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\nConnection: close\r\n";
    response += extra;
    response += "Content-Length: " + QByteArray::number(html.size()) + "\r\n\r\n" + html;
    socket->write(response);
    socket->disconnectFromHost();
}

THttpsServer::THttpsServer(const QString& name, const QString& address)
{
    Use(name);
    listen(QHostAddress(address));
    connect(this, &QSslServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().startsWith("GET / "))
                    return;
                ++Requests;
                const QByteArray page = "<html><head><title>Secure</title></head><body>Secure</body></html>";
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(page.size())
                              + "\r\n\r\n" + page);
            });
        }
    });
}

void THttpsServer::Use(const QString& name)
{
    // Connections kept open with the old certificate are closed: the engine would go on using them.
    for (QTcpSocket* socket : findChildren<QTcpSocket*>())
        socket->abort();
    QFile certificate(QStringLiteral(ORVANTA_TEST_DATA "/%1.crt").arg(name));
    QFile key(QStringLiteral(ORVANTA_TEST_DATA "/%1.key").arg(name));
    certificate.open(QIODevice::ReadOnly);
    key.open(QIODevice::ReadOnly);
    Certificate = QSslCertificate(&certificate);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(Certificate);
    configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    setSslConfiguration(configuration);
}

QString THttpsServer::Url() const
{
    return QStringLiteral("https://%1:%2/").arg(serverAddress().toString()).arg(serverPort());
}

QString THttpsServer::Entry() const
{
    return QStringLiteral("%1:%2 ").arg(serverAddress().toString()).arg(serverPort())
           + QString::fromLatin1(Certificate.digest(QCryptographicHash::Sha256).toHex().toUpper());
}

TPrivateBus::TPrivateBus()
{
    FDaemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    if (FDaemon.waitForReadyRead(30000))
        Address = QString::fromLatin1(FDaemon.readLine()).trimmed();
}

TPrivateBus::~TPrivateBus()
{
    FDaemon.kill();
    FDaemon.waitForFinished(10000);
}

TBroker::TBroker()
{
    Configure("allow_anonymous true\n");
}

TBroker::TBroker(const QString& user, const QString& password)
{
    Tls = true;
    const QString passwords = FFolder.filePath("passwords");
    QProcess::execute("mosquitto_passwd", {"-b", "-c", passwords, user, password});
    const QByteArray data = QByteArray(ORVANTA_TEST_DATA) + '/';
    Configure("allow_anonymous false\npassword_file " + passwords.toUtf8() + "\ncertfile " + data + "selfsigned.crt\nkeyfile " + data
              + "selfsigned.key\n");
}

// Run by root (as in CI), the broker keeps to root, so that it reads the test's own files.
void TBroker::Configure(const QByteArray& settings)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    Port = probe.serverPort();
    probe.close();
    QFile config(FFolder.filePath("mosquitto.conf"));
    if (config.open(QIODevice::WriteOnly))
        config.write("listener " + QByteArray::number(Port) + " 127.0.0.1\npersistence false\n" + settings
                     + (::geteuid() == 0 ? "user root\n" : ""));
    config.close();
    Start();
}

TBroker::~TBroker()
{
    Stop();
}

bool TBroker::Start()
{
    FBroker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FBroker.start(QStringLiteral("mosquitto"), {"-c", FFolder.filePath("mosquitto.conf")});
    if (!FBroker.waitForStarted(30000))
        return false;
    return QTest::qWaitFor([this] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(Port));
        return probe.waitForConnected(200);
    }, 30000);
}

void TBroker::Stop()
{
    if (FBroker.state() == QProcess::NotRunning)
        return;
    FBroker.terminate();
    FBroker.waitForFinished(10000);
}

QString TBroker::Url() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(Tls ? "mqtts" : "mqtt").arg(Port);
}
