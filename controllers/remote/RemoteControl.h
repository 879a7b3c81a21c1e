#pragma once

#include "controllers/remote/RemoteCommands.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>

class TCMain;

Q_DECLARE_METATYPE(TRemoteSite)

QDBusArgument& operator<<(QDBusArgument& argument, const TRemoteSite& site);
const QDBusArgument& operator>>(const QDBusArgument& argument, TRemoteSite& site);

// The running program on the session bus, for scripts and other machines: which site is shown,
// switching, reloading and the automations, as TRemoteCommands carries them out; a refusal is
// the caller's D-Bus error.
class TRemoteControl : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quenbrook.Orvanta")

public:
    static const QString Service;
    static const QString Path;

    explicit TRemoteControl(TCMain& main);
    ~TRemoteControl() override;

    // Offers the interface on a bus; false where there is none or another program holds the name.
    bool Register(const QDBusConnection& bus);

public Q_SLOTS:
    QList<TRemoteSite> Sites();
    int Shown();
    bool Show(int index);
    void Next();
    void Previous();
    // -1: every page.
    void Reload(int index);
    void Home(int index);
    void SetCycling(bool on);
    void SetFullScreen(bool on);
    bool Screen();
    void SetScreen(bool on);
    // A PNG of the window.
    QByteArray Screenshot();

Q_SIGNALS:
    void ShownChanged(int index);

private:
    // Runs a command; a refusal goes back to the caller as an error.
    void Answer(const std::function<void()>& command);

    TRemoteCommands FCommands;
    QDBusConnection FBus;
};
