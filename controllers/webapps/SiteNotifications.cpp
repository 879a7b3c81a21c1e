#include "controllers/webapps/SiteNotifications.h"

#include "browser/PermissionDecisions.h"
#include "browser/WebNotification.h"
#include "controllers/ControllerMain.h"

TSiteNotifications::TSiteNotifications(TCMain& main) : FMain(main), FDesktop(QDBusConnection::sessionBus())
{
    QObject::connect(&FDesktop, &TDesktopNotifications::Clicked, &FDesktop, [this](uint id) { Clicked(id); });
    QObject::connect(&FDesktop, &TDesktopNotifications::Closed, &FDesktop, [this](uint id) { Closed(id); });
}

void TSiteNotifications::Watch(TWebBrowser* page)
{
    QObject::connect(page, &TWebBrowser::NotificationShown, &FDesktop,
                     [this](TWebBrowser* sender, TWebNotification* notification) { Show(sender, notification); });
}

// A notification with the tag of one still shown takes its place on the desktop. A page that
// sends them faster than the desktop takes them loses what comes over the limit.
void TSiteNotifications::Show(TWebBrowser* page, TWebNotification* notification)
{
    if (FWaiting.value(page) >= MostShownOfASite) {
        notification->Close();
        return;
    }
    uint replaces = 0;
    for (const uint id : ShownOf(page)) {
        if (!notification->Tag().isEmpty() && FShown.value(id)->Tag() == notification->Tag())
            replaces = id;
    }
    if (replaces) {
        TWebNotification* replaced = FShown.value(replaces);
        Release(replaces);
        replaced->deleteLater();
    }
    ++FWaiting[page];
    FDesktop.Show({Heading(page), notification->Title(), notification->Message(), notification->Icon(), replaces},
                  [this, page, notification = QPointer<TWebNotification>(notification)](uint id) {
                      if (--FWaiting[page] == 0)
                          FWaiting.remove(page);
                      Shown(notification, id);
                  });
}

// The engine names the origin of a notification alone: where several sites in one store show
// that origin, any of them may have sent it, and it is headed by all their titles.
QString TSiteNotifications::Heading(const TWebBrowser* page) const
{
    const int site = FMain.PageOf(page);
    if (site < 0)
        return QString();
    const TCRegistry* settings = FMain.Registry();
    const QString origin = TPermissionDecisions::OriginOf(QUrl(page->LocationURL()));
    QStringList titles;
    for (int i = 0; const TWebBrowser* other = FMain.Browser(i); ++i) {
        if (settings->Profiles.value(i) == settings->Profiles.value(site)
            && TPermissionDecisions::OriginOf(QUrl(other->LocationURL())) == origin)
            titles.append(settings->Titles.value(i));
    }
    return titles.join(QStringLiteral(", "));
}

void TSiteNotifications::Shown(TWebNotification* notification, uint id)
{
    // Taken back by its page while the desktop put it up.
    if (!notification) {
        if (id)
            FDesktop.Close(id);
        return;
    }
    // No service to show it: the page learns that it is gone.
    if (!id) {
        notification->Close();
        return;
    }
    FShown.insert(id, notification);
    QObject::connect(notification, &TWebNotification::Closed, &FDesktop, [this, id] {
        Release(id);
        FDesktop.Close(id);
    });
    // Its page has gone: a click could show nothing.
    QObject::connect(notification, &QObject::destroyed, &FDesktop, [this, id] {
        FShown.remove(id);
        FDesktop.Close(id);
    });
    notification->Show();
    CloseOldest(notification->parent());
}

void TSiteNotifications::CloseOldest(const QObject* page)
{
    const QList<uint> ofThePage = ShownOf(page);
    for (int i = 0; i < ofThePage.size() - MostShownOfASite; ++i) {
        TWebNotification* oldest = FShown.value(ofThePage.at(i));
        Release(ofThePage.at(i));
        FDesktop.Close(ofThePage.at(i));
        oldest->Close();
    }
}

QList<uint> TSiteNotifications::ShownOf(const QObject* page) const
{
    QList<uint> shownOf;
    for (auto shown = FShown.cbegin(); shown != FShown.cend(); ++shown) {
        if (shown.value() && shown.value()->parent() == page)
            shownOf.append(shown.key());
    }
    return shownOf;
}

void TSiteNotifications::Release(uint id)
{
    if (TWebNotification* notification = FShown.take(id))
        QObject::disconnect(notification, nullptr, &FDesktop, nullptr);
}

void TSiteNotifications::Clicked(uint id)
{
    TWebNotification* notification = FShown.value(id);
    if (!notification)
        return;
    if (const int site = FMain.PageOf(qobject_cast<QWidget*>(notification->parent())); site >= 0)
        FMain.SelectPage(site);
    FMain.MainForm->ShowRestored();
    notification->Click();
}

void TSiteNotifications::Closed(uint id)
{
    TWebNotification* notification = FShown.value(id);
    Release(id);
    if (notification)
        notification->Close();
}
