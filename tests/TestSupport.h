#pragma once

#include "browser/WebEngineSetup.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QSslCertificate>
#include <QSslServer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

// Takes what the process writes on standard error for as long as it lives.
class TStandardError
{
public:
    TStandardError();
    ~TStandardError();
    QString Text() const;

private:
    QTemporaryDir FFolder;
    int FSaved;
};

// Gives the test process its own settings, data, cache and runtime folders.
class TTestEnvironment
{
public:
    TTestEnvironment();
    QString Root() const;

private:
    QTemporaryDir FRoot;
};

// The environment for the real program with its settings, data, cache and runtime folders
// under root; its settings file is ConfigFileUnder(root).
class QProcessEnvironment ProgramEnvironment(const QString& root);
QString ConfigFileUnder(const QString& root);
// The administrator's settings file for the program run with ProgramEnvironment(root).
QString SystemConfigFileUnder(const QString& root);

// Sends a signal to a running program; nothing when it has ended (a process id of 0 would
// signal the whole process group, the tests included).
void SendSignal(const class QProcess& program, int signal);

// Starts the real program (ORVANTA_BINARY) in `environment`, its error output passed on.
void StartProgram(class QProcess& program, const class QProcessEnvironment& environment);

// Stores the site list, and any values for [Settings], in the settings file given.
void StoreSitesIn(const QString& configFile, const QStringList& titles, const QStringList& urls,
                  const QMap<QString, QString>& settings = {});

QString ConfigFolder();
QString ConfigFile();
// The administrator's settings file of the test process.
QString SystemConfigFile();
void WriteConfig(const QByteArray& content);
// Writes the administrator's settings file of the test process.
void WriteSystemConfig(const QByteArray& content);
QByteArray ReadConfig();
// Removes the user's settings and the administrator's file.
void RemoveConfig();

// Answers every message box with OK and keeps what it said.
struct TMessage
{
    QString Caption;
    QString Text;
    TMessageIcon Icon;
};

class TMessageLog
{
public:
    TMessageLog();
    ~TMessageLog();
    QList<TMessage> Messages;
    QStringList Texts() const;

private:
    TMessageBoxHook FPrevious;
};

// Keeps what was handed to the shell instead of opening it.
class TShellLog
{
public:
    TShellLog();
    ~TShellLog();
    QStringList Targets;
};

// A small HTTP server on 127.0.0.1 for the web-engine tests. A path answers with the page
// set for it; a path marked endless sends part of a page and never finishes.
class THttpServer : public QTcpServer
{
    Q_OBJECT

public:
    struct TRequest
    {
        QString Path;
        QHash<QByteArray, QByteArray> Headers;
    };

    THttpServer();
    QString Url(const QString& path) const;
    void SetPage(const QString& path, const QByteArray& html, const QByteArray& extraHeaders = {});
    void SetEndless(const QString& path);
    void SetRedirect(const QString& path, const QString& target);
    // The path sends a part of what it announces and then closes the connection.
    void SetCut(const QString& path, const QByteArray& extraHeaders);
    // The path sends a part of what it announces and then nothing more, the connection open.
    void SetStalled(const QString& path, const QByteArray& extraHeaders);
    // The path answers 401 with a Basic sign-in of realm "Console" unless asked with these.
    void SetSignIn(const QString& path, const QString& user, const QString& password);
    int Count(const QString& path) const;
    int Total() const;
    QList<TRequest> Requests;

private:
    void Serve(class QTcpSocket* socket);

    QMap<QString, QPair<QByteArray, QByteArray>> FPages;
    QStringList FEndless;
    QHash<QString, QString> FRedirects;
    QHash<QString, QByteArray> FSignIns;
    QHash<QString, QByteArray> FCut;
    QStringList FStalled;
};

// A page titled "Secure" served over TLS on `address` with one of the tests' own certificates
// (tests/data/NAME.crt and .key). The engine remembers a certificate it accepted for a host
// until the program ends: each test serves from a loopback address of its own.
class THttpsServer : public QSslServer
{
public:
    THttpsServer(const QString& name, const QString& address);
    // Another certificate from now on, at the same address.
    void Use(const QString& name);
    QString Url() const;
    // The certificate's trust entry: "host:port SHA256HEX".
    QString Entry() const;

    QSslCertificate Certificate;
    int Requests = 0;
};

// A session bus of the test's own: a dbus-daemon at Address, ended with the object.
class TPrivateBus
{
public:
    TPrivateBus();
    ~TPrivateBus();

    QString Address;

private:
    QProcess FDaemon;
};

// A mosquitto broker of the test's own on a free loopback port, anonymous, keeping nothing on
// disk; Stop and Start again keep the port.
class TBroker
{
public:
    // Anonymous, plain MQTT.
    TBroker();
    // Over TLS with tests/data/selfsigned.crt, and only for `user` with `password`.
    TBroker(const QString& user, const QString& password);
    ~TBroker();
    bool Start();
    void Stop();
    QString Url() const;

    int Port = 0;
    bool Tls = false;

private:
    void Configure(const QByteArray& settings);

    QTemporaryDir FFolder;
    QProcess FBroker;
};

// Runs `run` in an application of its own, set up as the program's entry sets it up, with
// folders of its own.
int RunInApplication(int argc, char* argv[], const std::function<int(int, char**)>& run);

// Runs one test object that way.
#define ORVANTA_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char* argv[])                                                                                 \
    {                                                                                                                \
        return RunInApplication(argc, argv, [](int count, char** arguments) {                                        \
            TestObject test;                                                                                         \
            return QTest::qExec(&test, count, arguments);                                                            \
        });                                                                                                          \
    }
