#include "platform/DisplayPower.h"

#include <QGuiApplication>

#ifdef ORVANTA_HAS_XCB
#include <xcb/xcb.h>
#ifdef ORVANTA_HAS_XCB_DPMS
#include <xcb/dpms.h>
#endif
#endif
#ifdef ORVANTA_HAS_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

#include <cstdlib>

namespace {

#ifdef ORVANTA_HAS_XCB
xcb_connection_t* X11()
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
}
#endif

#ifdef ORVANTA_HAS_DBUS
const QString ScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString ScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage ScreenSaverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(ScreenSaverService, ScreenSaverPath, ScreenSaverService, method);
}
#endif

} // namespace

TDisplayPower::TDisplayPower(QObject* parent) : QObject(parent) {}

TDisplayPower::~TDisplayPower()
{
    PowerDown(false);
    KeepAwake(false);
}

void TDisplayPower::KeepAwake(bool keep)
{
    if (keep == FAwake)
        return;
    FAwake = keep;
    Inhibit(keep);
#ifdef ORVANTA_HAS_XCB
    xcb_connection_t* connection = X11();
    if (!connection)
        return;
    if (keep) {
        xcb_get_screen_saver_reply_t* saver = xcb_get_screen_saver_reply(connection, xcb_get_screen_saver(connection), nullptr);
        if (!saver)
            return;
        TSaved saved{saver->timeout, saver->interval, saver->prefer_blanking, saver->allow_exposures, false};
        std::free(saver);
        xcb_set_screen_saver(connection, 0, int16_t(saved.Interval), uint8_t(saved.PreferBlanking), uint8_t(saved.AllowExposures));
#ifdef ORVANTA_HAS_XCB_DPMS
        const xcb_query_extension_reply_t* dpms = xcb_get_extension_data(connection, &xcb_dpms_id);
        if (dpms && dpms->present) {
            if (xcb_dpms_info_reply_t* info = xcb_dpms_info_reply(connection, xcb_dpms_info(connection), nullptr)) {
                saved.DpmsEnabled = info->state;
                std::free(info);
            }
            if (saved.DpmsEnabled)
                xcb_dpms_disable(connection);
        }
#endif
        FSaved = saved;
    } else if (FSaved) {
        xcb_set_screen_saver(connection, int16_t(FSaved->Timeout), int16_t(FSaved->Interval), uint8_t(FSaved->PreferBlanking),
                             uint8_t(FSaved->AllowExposures));
#ifdef ORVANTA_HAS_XCB_DPMS
        if (FSaved->DpmsEnabled)
            xcb_dpms_enable(connection);
#endif
        FSaved.reset();
    }
    xcb_flush(connection);
#endif
}

bool TDisplayPower::PowerDown(bool down)
{
#if defined(ORVANTA_HAS_XCB) && defined(ORVANTA_HAS_XCB_DPMS)
    xcb_connection_t* connection = X11();
    if (!connection || down == FPoweredDown)
        return connection && FPoweredDown;
    const xcb_query_extension_reply_t* dpms = xcb_get_extension_data(connection, &xcb_dpms_id);
    if (!dpms || !dpms->present)
        return false;
    xcb_dpms_capable_reply_t* capable = xcb_dpms_capable_reply(connection, xcb_dpms_capable(connection), nullptr);
    const bool can = capable && capable->capable;
    std::free(capable);
    if (!can)
        return false;
    // Forcing a level needs DPMS enabled; held awake, it is enabled again afterwards.
    if (down) {
        xcb_dpms_enable(connection);
        xcb_dpms_force_level(connection, XCB_DPMS_DPMS_MODE_OFF);
    } else {
        xcb_dpms_force_level(connection, XCB_DPMS_DPMS_MODE_ON);
        if (FAwake && FSaved)
            xcb_dpms_disable(connection);
    }
    xcb_flush(connection);
    FPoweredDown = down;
    return true;
#else
    Q_UNUSED(down);
    return false;
#endif
}

void TDisplayPower::Inhibit(bool inhibit)
{
#ifdef ORVANTA_HAS_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!inhibit) {
        if (FCookie) {
            QDBusMessage call = ScreenSaverCall(QStringLiteral("UnInhibit"));
            call << *FCookie;
            bus.send(call);
            FCookie.reset();
        }
        return;
    }
    if (FInhibitAsked || FCookie)
        return;
    FInhibitAsked = true;
    QDBusMessage call = ScreenSaverCall(QStringLiteral("Inhibit"));
    call << QGuiApplication::applicationDisplayName() << QStringLiteral("A wall screen is showing");
    // Asked without waiting: a desktop that is slow to answer never holds the program up.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        FInhibitAsked = false;
        const QDBusPendingReply<uint> reply = *answer;
        if (reply.isError())
            return;
        FCookie = reply.value();
        if (!FAwake)
            Inhibit(false);
    });
#else
    Q_UNUSED(inhibit);
#endif
}
