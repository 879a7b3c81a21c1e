#include "platform/DesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = Service;
// The action a click on the notification itself invokes.
const QString DefaultAction = QStringLiteral("default");
constexpr int CallTimeoutMs = 25000;

// Calls a method of the service; `done` learns its reply, an error one where it failed.
void Call(QDBusConnection& bus, QObject* context, const QString& method, const QVariantList& arguments,
          std::function<void(const QDBusMessage& reply)> done)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, CallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [done = std::move(done)](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        done(finished->reply());
    });
}

// A picture as the service takes it: width, height, bytes a row, alpha, bits a sample, samples a
// pixel, and the pixels in RGBA order. A large one is made small first: the service shows it
// small anyway, and every byte goes over the bus.
QVariant ImageData(const QImage& icon)
{
    constexpr int LargestSide = 128;
    QImage image = icon.width() > LargestSide || icon.height() > LargestSide
        ? icon.scaled(LargestSide, LargestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : icon;
    image.convertTo(QImage::Format_RGBA8888);
    QDBusArgument data;
    data.beginStructure();
    data << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
         << QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
    data.endStructure();
    return QVariant::fromValue(data);
}

} // namespace

TDesktopNotifications::TDesktopNotifications(const QDBusConnection& bus) : FBus(bus)
{
    FBus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this, SLOT(ActionInvoked(uint, QString)));
    FBus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this, SLOT(NotificationClosed(uint, uint)));
}

void TDesktopNotifications::Show(const TDesktopNotice& notice, std::function<void(uint id)> shown)
{
    FWaiting.append([this, notice, shown = std::move(shown)] { Notify(notice, shown); });
    if (FWaiting.size() > 1)
        return;
    if (FMarkup) {
        FWaiting.takeFirst()();
        return;
    }
    // A service that does not answer is asked again with the next notification.
    Call(FBus, this, QStringLiteral("GetCapabilities"), {}, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage)
            FMarkup = reply.arguments().value(0).toStringList().contains(QStringLiteral("body-markup"));
        const QList<std::function<void()>> waiting = std::exchange(FWaiting, {});
        for (const std::function<void()>& notify : waiting)
            notify();
    });
}

// The title stands out where the service can show it so; what a page wrote is never taken as
// markup.
QString TDesktopNotifications::Body(const QString& title, const QString& message) const
{
    const bool markup = FMarkup.value_or(false);
    QStringList lines;
    if (!title.isEmpty())
        lines.append(markup ? QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()) : title);
    if (!message.isEmpty())
        lines.append(markup ? message.toHtmlEscaped() : message);
    return lines.join(QLatin1Char('\n'));
}

void TDesktopNotifications::Notify(const TDesktopNotice& notice, std::function<void(uint id)> shown)
{
    const QString launcher = QGuiApplication::desktopFileName();
    QVariantMap hints;
    if (!launcher.isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), launcher);
    if (!notice.Icon.isNull())
        hints.insert(QStringLiteral("image-data"), ImageData(notice.Icon));
    const QVariantList arguments{QCoreApplication::applicationName(), notice.Replaces, launcher, notice.Heading,
                                 Body(notice.Title, notice.Message), QStringList{DefaultAction, QStringLiteral("Show")},
                                 hints, -1};
    Call(FBus, this, QStringLiteral("Notify"), arguments, [shown = std::move(shown)](const QDBusMessage& reply) {
        shown(reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toUInt() : 0);
    });
}

void TDesktopNotifications::Close(uint id)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    call.setArguments({id});
    FBus.send(call);
}

void TDesktopNotifications::ActionInvoked(uint id, const QString& action)
{
    if (action == DefaultAction)
        Q_EMIT Clicked(id);
}

void TDesktopNotifications::NotificationClosed(uint id, uint)
{
    Q_EMIT Closed(id);
}
