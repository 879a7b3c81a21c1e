#pragma once

#include "browser/WebBrowser.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

class TCMain;

// One site as a remote control reports it: its title, home and current address, and where its
// page stands ("loading", "loaded", "failed", "sign-in" or "crashed").
struct TRemoteSite
{
    QString Title;
    QString Home;
    QString Current;
    QString State;
    // When its page last ended a load well (UTC); invalid before.
    QDateTime Loaded;
};

// A remote command that can't be carried out: no such site, a setting the administrator
// manages, or a page that failed at it.
struct ERemoteRefused
{
    enum class TKind { NoSuchSite, Locked, Failed };
    TKind Kind;
    QString Message;
};

// What a remote control may ask of the running program, the same over every channel (D-Bus,
// MQTT). It changes only what the setup dialog could, and what the administrator left
// unlocked, never the site list, and never shows a message; a refusal throws ERemoteRefused.
class TRemoteCommands
{
public:
    explicit TRemoteCommands(TCMain& main);

    static QString StateName(TLoadState state);

    QList<TRemoteSite> Sites() const;
    int Shown() const;
    // Sites count from 0.
    void Show(int index);
    void Next();
    void Previous();
    // -1: every page; a page that fails then is passed over, as by an automatic refresh.
    void Reload(int index);
    void Home(int index);
    bool Cycling() const;
    void SetCycling(bool on);
    bool FullScreen() const;
    void SetFullScreen(bool on);
    // The screen's power, until the screen schedule's next edge.
    bool Screen() const;
    void SetScreen(bool on);
    // What the window shows as a PNG, drawn by the program itself: the pages' own pixels, on
    // Wayland too, where no one may read the screen back.
    QByteArray Screenshot() const;

private:
    void Each(int index, const std::function<void(int)>& act);
    void RequireUnlocked() const;

    TCMain& FMain;
};
