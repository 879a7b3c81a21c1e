#pragma once

#include "platform/DesktopNotifications.h"

#include <QHash>
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
    explicit TSiteNotifications(TCMain& main);

    void Watch(TWebBrowser* page);

private:
    void Show(TWebBrowser* page, TWebNotification* notification);
    void Shown(TWebNotification* notification, uint id);
    void Clicked(uint id);
    void Closed(uint id);
    // The one of a page with the tag given, on the desktop now; 0 when none.
    uint ShownWithTag(const TWebBrowser* page, const QString& tag) const;
    // It stands no longer for the one on the desktop with that number.
    void Release(uint id);

    TCMain& FMain;
    TDesktopNotifications FDesktop;
    QHash<uint, QPointer<TWebNotification>> FShown;
};
