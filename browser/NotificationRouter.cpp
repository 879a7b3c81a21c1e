#include "browser/NotificationRouter.h"

#include "browser/PermissionDecisions.h"
#include "browser/WebEngineBrowser.h"

#include <QWebEngineNotification>
#include <QWebEngineProfile>

TNotificationRouter::TNotificationRouter(QWebEngineProfile* profile) : QObject(profile)
{
    profile->setNotificationPresenter([router = QPointer<TNotificationRouter>(this)](std::unique_ptr<QWebEngineNotification> notification) {
        if (router)
            router->Present(std::move(notification));
    });
}

void TNotificationRouter::Attach(TWebEngineBrowser* page, QWebEngineProfile* profile)
{
    auto* router = profile->findChild<TNotificationRouter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!router)
        router = new TNotificationRouter(profile);
    router->FPages.removeAll(nullptr);
    router->FPages.append(page);
}

// One whose page has gone, or left its origin, is not shown.
void TNotificationRouter::Present(std::unique_ptr<QWebEngineNotification> notification)
{
    const QString origin = TPermissionDecisions::OriginOf(notification->origin());
    for (const QPointer<TWebEngineBrowser>& page : std::as_const(FPages)) {
        if (page && TPermissionDecisions::OriginOf(QUrl(page->LocationURL())) == origin) {
            page->ShowNotification(std::move(notification));
            return;
        }
    }
}
