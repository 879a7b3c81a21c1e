#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// One notification as the desktop shows it: the heading over the title and the message, with
// a picture where there is one. It takes the place of the one numbered `Replaces` where that
// one is still shown (0: none).
struct TDesktopNotice
{
    QString Heading;
    QString Title;
    QString Message;
    QImage Icon;
    uint Replaces = 0;
};

// The desktop's notification service, as freedesktop.org describes it, on a bus: shows
// notifications and tells which one was clicked and which has gone.
class TDesktopNotifications : public QObject
{
    Q_OBJECT

public:
    explicit TDesktopNotifications(const QDBusConnection& bus);

    // `shown` learns the notice's number, or 0 when no service showed it.
    void Show(const TDesktopNotice& notice, std::function<void(uint id)> shown);
    void Close(uint id);

Q_SIGNALS:
    void Clicked(uint id);
    // Gone from the screen: dismissed, expired or closed.
    void Closed(uint id);

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    void Notify(const TDesktopNotice& notice, std::function<void(uint id)> shown);
    QString Body(const QString& title, const QString& message) const;

    QDBusConnection FBus;
    // Whether the service reads markup in a body; asked once, before the first notification.
    std::optional<bool> FMarkup;
    QList<std::function<void()>> FWaiting;
};
