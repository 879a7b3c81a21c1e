#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>

class TCMain;

// One site as the remote control reports it: its title, home and current address, and where
// its page stands ("loading", "loaded", "failed", "sign-in" or "crashed").
struct TRemoteSite
{
    QString Title;
    QString Home;
    QString Current;
    QString State;
};
Q_DECLARE_METATYPE(TRemoteSite)

QDBusArgument& operator<<(QDBusArgument& argument, const TRemoteSite& site);
const QDBusArgument& operator>>(const QDBusArgument& argument, TRemoteSite& site);

// The running program on the session bus, for scripts and other machines: which site is shown,
// switching, reloading and the automations. It changes only what the setup dialog could (and
// what the administrator left unlocked), never the site list, and never shows a message.
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

Q_SIGNALS:
    void ShownChanged(int index);

private:
    // An index that names a page, or -1 for every page; otherwise an error for the caller.
    bool PageOrAll(int index);
    bool SettingsUnlocked();
    void Each(int index, const std::function<void(int)>& act);

    TCMain& FMain;
    QDBusConnection FBus;
};
