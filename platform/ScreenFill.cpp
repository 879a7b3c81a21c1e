#include "platform/ScreenFill.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#ifdef ORVANTA_HAS_XCB
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

TScreenFill::TScreenFill(QWidget* window) : FWindow(window) {}

void TScreenFill::SetFullScreen(bool fullScreen)
{
    if (fullScreen) {
        // The place first: a window that is moved or resized is no longer full screen to Qt.
        if (!FNormal && !HasWindowManager()) {
            FNormal = FWindow->geometry();
            FWindow->setGeometry(FWindow->screen()->geometry());
        }
        FWindow->setWindowState(FWindow->windowState() | Qt::WindowFullScreen);
        return;
    }
    FWindow->setWindowState(FWindow->windowState() & ~Qt::WindowFullScreen);
    if (FNormal) {
        FWindow->setGeometry(*FNormal);
        FNormal.reset();
    }
}

bool HasWindowManager()
{
#ifdef ORVANTA_HAS_XCB
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    if (!connection)
        return true;
    // A window manager names a window of its own on the root window; a stale name left by one
    // that has ended names a window that no longer exists.
    static const char checkName[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(checkName), checkName), nullptr);
    const xcb_atom_t check = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    if (check == XCB_ATOM_NONE)
        return false;
    bool found = false;
    for (auto root = xcb_setup_roots_iterator(xcb_get_setup(connection)); root.rem && !found; xcb_screen_next(&root)) {
        xcb_get_property_reply_t* property = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root.data->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        if (property && xcb_get_property_value_length(property) == sizeof(xcb_window_t)) {
            const xcb_window_t named = *static_cast<xcb_window_t*>(xcb_get_property_value(property));
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                connection, xcb_get_window_attributes(connection, named), nullptr);
            found = attributes != nullptr;
            std::free(attributes);
        }
        std::free(property);
    }
    return found;
#else
    return true;
#endif
}
