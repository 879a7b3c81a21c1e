#pragma once

#include "platform/DesktopNotifications.h"

#include <QHash>
#include <QMap>
#include <QPointer>

class TCMain;
class TWebBrowser;
class TWebNotification;

// The notifications of sites the user let show them go to the desktop, headed by the site's
// title; a click on one brings the window up with that site shown. One a page closes leaves
// the desktop, and one closed on the desktop is closed for its page.
class TSiteNotifications
{
public:
    // A site's notifications on the desktop at once, and waiting to go there: a page that sends
    // them in a loop floods neither the desktop nor the program.
    static constexpr int MostShownOfASite = 5;

    explicit TSiteNotifications(TCMain& main);

    void Watch(TWebBrowser* page);

private:
    void Show(TWebBrowser* page, TWebNotification* notification);
    QString Heading(const TWebBrowser* page) const;
    void Shown(TWebNotification* notification, uint id);
    void Clicked(uint id);
    void Closed(uint id);
    // The numbers of a page's notifications on the desktop now, oldest first.
    QList<uint> ShownOf(const QObject* page) const;
    // It stands no longer for the one on the desktop with that number.
    void Release(uint id);
    // The page's oldest ones go while it has more than a site may show.
    void CloseOldest(const QObject* page);

    TCMain& FMain;
    TDesktopNotifications FDesktop;
    // How many of each page's the desktop is still asked to show.
    QHash<const QObject*, int> FWaiting;
    // By number, which the service gives in the order shown.
    QMap<uint, QPointer<TWebNotification>> FShown;
};
