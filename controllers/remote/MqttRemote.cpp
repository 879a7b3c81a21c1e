#include "controllers/remote/MqttRemote.h"

#include "controllers/ControllerMain.h"
#include "platform/ProcessMemory.h"
#include "platform/VersionRecord.h"
#include "platform/PlatformError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int MemoryEveryMs = 30000;
constexpr qint64 MiB = 1024 * 1024;

// A refusal of a command, said on the error topic.
struct ECommandRefused
{
    QString Reason;
};

// A name as one level of a topic: no level separator, no wildcard, no control character.
QString TopicLevel(QString name)
{
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('+') || c == QLatin1Char('#') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return name;
}

bool OnOff(const QByteArray& payload)
{
    const QByteArray word = payload.trimmed().toUpper();
    if (word == "ON")
        return true;
    if (word == "OFF")
        return false;
    throw ECommandRefused{QStringLiteral("the payload must be ON or OFF")};
}

// The program file's own version record, read once.
QString Version()
{
    static const QString version = [] {
    try {
        const TVersionRecord record = TVersionRecord::Read(QCoreApplication::applicationFilePath());
        return QStringLiteral("%1.%2.%3.%4")
            .arg(record.FileVersionMS >> 16).arg(record.FileVersionMS & 0xFFFF)
            .arg(record.FileVersionLS >> 16).arg(record.FileVersionLS & 0xFFFF);
    } catch (const EPlatformError&) {
        return QString();
    }
    }();
    return version;
}

QString PasswordFrom(const QString& file, QString* error)
{
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (QFile::permissions(file) & others) {
        *error = QStringLiteral("the password file %1 can be read by others; it is not used").arg(file);
        return QString();
    }
    QFile password(file);
    if (!password.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the password file %1 can't be read").arg(file);
        return QString();
    }
    return QString::fromUtf8(password.readAll()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

QString TMqttRemote::NameFrom(const QString& hostName)
{
    QString name = hostName.toLower();
    for (QChar& c : name) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                           || c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!plain)
            c = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("orvanta") : name;
}

std::optional<TMqttEndpoint> TMqttRemote::EndpointOf(const QString& broker, QString* error)
{
    const QUrl url(broker, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts"))
        || (!url.path().isEmpty() && url.path() != QLatin1String("/"))) {
        *error = QStringLiteral("Broker=%1 is not mqtt://HOST[:PORT] or mqtts://HOST[:PORT]").arg(broker);
        return std::nullopt;
    }
    TMqttEndpoint endpoint;
    endpoint.Tls = scheme == QLatin1String("mqtts");
    endpoint.Host = url.host();
    endpoint.Port = url.port(endpoint.Tls ? 8883 : 1883);
    return endpoint;
}

TMqttRemote::TMqttRemote(TCMain& main, const TMqttSettings& settings, const QString& typedPassword) : FMain(main), FCommands(main)
{
    FName = settings.Name.isEmpty() ? NameFrom(QSysInfo::machineHostName()) : TopicLevel(settings.Name);
    for (const QString& group : settings.Groups) {
        if (!group.trimmed().isEmpty())
            FGroups.append(TopicLevel(group.trimmed()));
    }
    FClient.setObjectName(settings.Broker);
    QString error;
    std::optional<TMqttEndpoint> endpoint = EndpointOf(settings.Broker, &error);
    if (endpoint && !settings.PasswordFile.isEmpty())
        endpoint->Password = PasswordFrom(settings.PasswordFile, &error);
    if (!error.isEmpty()) {
        SayOnce(QStringLiteral("MQTT is off: %1.").arg(error));
        return;
    }
    // The prefix names topic levels of its own; it may hold no wildcard.
    if (QString prefix = settings.Discovery; !prefix.remove(QLatin1Char('+')).remove(QLatin1Char('#')).isEmpty())
        FDiscovery.emplace(prefix, FName, Version());
    endpoint->User = settings.User;
    endpoint->CaFile = settings.CaFile;
    endpoint->ClientId = QStringLiteral("orvanta_") + FName;
    endpoint->WillTopic = Topic(QStringLiteral("availability"));
    endpoint->WillPayload = "offline";
    connect(&FClient, &TMqttClient::Connected, this, &TMqttRemote::Connected);
    connect(&FClient, &TMqttClient::Message, this, &TMqttRemote::Received);
    connect(&FClient, &TMqttClient::Refused, this, [this](const QString& reason) {
        SayOnce(QStringLiteral("The MQTT broker %1 refused the connection: %2").arg(FClient.objectName(), reason));
    });
    FStateTimer.setInterval(StateMs);
    connect(&FStateTimer, &QTimer::timeout, this, &TMqttRemote::SendState);
    // The keyring holds a broker's password under the broker and the user it is for.
    const QString key = QStringLiteral("mqtt %1 %2").arg(settings.Broker, settings.User);
    if (!typedPassword.isEmpty()) {
        endpoint->Password = typedPassword;
        FKeyring.Write(key, typedPassword, [this](bool stored) {
            if (!stored)
                SayOnce(QStringLiteral("There is no keyring to keep the MQTT password in: it is used until the program ends."));
        });
    } else if (settings.PasswordFile.isEmpty() && !settings.User.isEmpty()) {
        FKeyring.Read(key, [this, endpoint = *endpoint](TKeyring::TAnswer answer, const QString& secret) mutable {
            if (answer == TKeyring::TAnswer::Found)
                endpoint.Password = secret;
            Start(endpoint);
        });
        return;
    }
    Start(*endpoint);
}

void TMqttRemote::Start(TMqttEndpoint endpoint)
{
    QString error;
    if (!FClient.Start(endpoint, &error)) {
        SayOnce(QStringLiteral("MQTT is off: %1.").arg(error));
        return;
    }
    FStateTimer.start();
}

QString TMqttRemote::Status() const
{
    if (FClient.IsConnected())
        return QStringLiteral("Connected to %1 as %2.").arg(FClient.objectName(), FName);
    if (!FLastSaid.isEmpty())
        return FLastSaid;
    return QStringLiteral("Connecting to %1 as %2…").arg(FClient.objectName(), FName);
}

TMqttRemote::~TMqttRemote()
{
    FClient.Publish(Topic(QStringLiteral("availability")), "offline", true);
}

QString TMqttRemote::Topic(const QString& leaf) const
{
    return QStringLiteral("orvanta/") + FName + QLatin1Char('/') + leaf;
}

void TMqttRemote::SayOnce(const QString& text)
{
    if (FSaid.contains(text))
        return;
    FSaid.insert(text);
    FLastSaid = text;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void TMqttRemote::Connected()
{
    FClient.Publish(Topic(QStringLiteral("availability")), "online", true);
    FClient.Subscribe(Topic(QStringLiteral("set/+")));
    for (const QString& group : std::as_const(FGroups))
        FClient.Subscribe(QStringLiteral("orvanta/group/%1/set/+").arg(group));
    FSentState.clear();
    FDiscoveredTitles.clear();
    SendState();
}

void TMqttRemote::SendDiscovery()
{
    const QStringList& titles = FMain.Registry()->Titles;
    if (!FDiscovery || (titles == FDiscoveredTitles && !FDiscoveredTitles.isEmpty()))
        return;
    FDiscoveredTitles = titles;
    for (const THomeAssistantDiscovery::TMessage& message : FDiscovery->Messages(titles))
        FClient.Publish(message.Topic, message.Payload, true);
}

QJsonObject TMqttRemote::State()
{
    if (!FMemoryRead.isValid() || FMemoryRead.hasExpired(MemoryEveryMs)) {
        qint64 bytes = ProportionalMemoryOf(QCoreApplication::applicationPid());
        for (int i = 0; TWebBrowser* page = FMain.Browser(i); ++i)
            bytes += qMax<qint64>(page->RendererMemory(), 0);
        FMemoryMiB = bytes > 0 ? bytes / MiB : -1;
        FMemoryRead.start();
    }
    const int shown = FCommands.Shown();
    QJsonArray sites;
    const QList<TRemoteSite> list = FCommands.Sites();
    for (const TRemoteSite& site : list)
        sites.append(QJsonObject{{QStringLiteral("title"), site.Title}, {QStringLiteral("url"), site.Current},
                                 {QStringLiteral("state"), site.State},
                                 {QStringLiteral("loaded"), site.Loaded.isValid() ? QJsonValue(site.Loaded.toString(Qt::ISODate)) : QJsonValue()}});
    return {{QStringLiteral("shown"), shown + 1},
            {QStringLiteral("title"), list.value(shown).Title},
            {QStringLiteral("url"), list.value(shown).Current},
            {QStringLiteral("cycling"), FCommands.Cycling()},
            {QStringLiteral("fullscreen"), FCommands.FullScreen()},
            {QStringLiteral("screen"), FCommands.Screen() ? QStringLiteral("on") : QStringLiteral("off")},
            {QStringLiteral("sites"), sites},
            {QStringLiteral("memory"), FMemoryMiB},
            {QStringLiteral("version"), Version()}};
}

void TMqttRemote::SendState()
{
    if (!FClient.IsConnected())
        return;
    SendDiscovery();
    const QByteArray state = QJsonDocument(State()).toJson(QJsonDocument::Compact);
    if (state == FSentState)
        return;
    FSentState = state;
    FClient.Publish(Topic(QStringLiteral("state")), state, true);
}

void TMqttRemote::Received(const QString& topic, const QByteArray& payload)
{
    const QString command = topic.section(QLatin1Char('/'), -1).left(80);
    try {
        if (payload.size() > MaxPayload)
            throw ECommandRefused{QStringLiteral("the payload is over 64 KiB")};
        Carry(command, payload);
    } catch (const ECommandRefused& refused) {
        FClient.Publish(Topic(QStringLiteral("error")), (command + QStringLiteral(": ") + refused.Reason).toUtf8(), false);
        return;
    } catch (const ERemoteRefused& refused) {
        FClient.Publish(Topic(QStringLiteral("error")), (command + QStringLiteral(": ") + refused.Message).toUtf8(), false);
        return;
    }
    SendState();
}

// A site's number from 1 or its title; empty: the shown site, where that is allowed; "all":
// every site (-1), where that is.
int TMqttRemote::SiteNamed(const QString& payload, bool emptyIsShown, bool allowAll) const
{
    const QString name = payload.trimmed();
    if (name.isEmpty()) {
        if (!emptyIsShown)
            throw ECommandRefused{QStringLiteral("the payload must name a site, by its number or its title")};
        return FCommands.Shown();
    }
    if (allowAll && name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0)
        return -1;
    bool number = false;
    const int index = name.toInt(&number) - 1;
    const QStringList& titles = FMain.Registry()->Titles;
    if (number && FMain.Browser(index))
        return index;
    if (!number) {
        const int titled = titles.indexOf(name);
        if (titled >= 0 && FMain.Browser(titled))
            return titled;
    }
    throw ECommandRefused{QStringLiteral("there is no site \"%1\"").arg(name.left(80))};
}

void TMqttRemote::Carry(const QString& command, const QByteArray& payload)
{
    const QString text = QString::fromUtf8(payload);
    if (command == QLatin1String("show"))
        FCommands.Show(SiteNamed(text, false, false));
    else if (command == QLatin1String("next"))
        FCommands.Next();
    else if (command == QLatin1String("previous"))
        FCommands.Previous();
    else if (command == QLatin1String("reload"))
        FCommands.Reload(SiteNamed(text, true, true));
    else if (command == QLatin1String("home"))
        FCommands.Home(SiteNamed(text, true, true));
    else if (command == QLatin1String("cycling"))
        FCommands.SetCycling(OnOff(payload));
    else if (command == QLatin1String("fullscreen"))
        FCommands.SetFullScreen(OnOff(payload));
    else if (command == QLatin1String("screenshot"))
        FClient.Publish(Topic(QStringLiteral("screenshot")), FCommands.Screenshot(), false);
    else if (command == QLatin1String("screen"))
        FCommands.SetScreen(OnOff(payload));
    else
        throw ECommandRefused{QStringLiteral("unknown command")};
}
