#include "platform/WindowOcclusion.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QWindow>

#ifdef ORVANTA_HAS_XCB
#include <cstdlib>
#include <xcb/xcb.h>
#endif

TWindowOcclusion* TWindowOcclusion::Instance()
{
    static QPointer<TWindowOcclusion> instance;
    if (!instance)
        instance = new TWindowOcclusion(qApp);
    return instance;
}

TWindowOcclusion::TWindowOcclusion(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

void TWindowOcclusion::Watch(QWindow* window)
{
    if (!window || FCovered.contains(window))
        return;
    FCovered.insert(window, false);
    connect(window, &QObject::destroyed, this, [this, window] { FCovered.remove(window); });
    window->installEventFilter(this);
    AskForNotices(window);
}

bool TWindowOcclusion::Covered(QWindow* window) const
{
    return FCovered.value(window, false);
}

// A window made anew by the window system (new flags, say) asks again.
bool TWindowOcclusion::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated) {
        auto* window = static_cast<QWindow*>(watched);
        SetCovered(window, false);
        AskForNotices(window);
    }
    return QObject::eventFilter(watched, event);
}

void TWindowOcclusion::AskForNotices(QWindow* window)
{
#ifdef ORVANTA_HAS_XCB
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection || !window->handle())
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    // The window keeps every event it already asks for.
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, id), nullptr);
    if (!attributes)
        return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    std::free(attributes);
    xcb_change_window_attributes(connection, id, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

bool TWindowOcclusion::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    Q_UNUSED(result);
#ifdef ORVANTA_HAS_XCB
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_VISIBILITY_NOTIFY)
        return false;
    const auto* notice = static_cast<const xcb_visibility_notify_event_t*>(message);
    for (auto it = FCovered.cbegin(); it != FCovered.cend(); ++it) {
        if (it.key()->handle() && it.key()->winId() == notice->window) {
            SetCovered(it.key(), notice->state == XCB_VISIBILITY_FULLY_OBSCURED);
            break;
        }
    }
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}

void TWindowOcclusion::SetCovered(QWindow* window, bool covered)
{
    auto it = FCovered.find(window);
    if (it == FCovered.end() || it.value() == covered)
        return;
    it.value() = covered;
    Q_EMIT CoveredChanged(window);
}
