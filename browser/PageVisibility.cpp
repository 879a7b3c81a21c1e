#include "browser/PageVisibility.h"

#include "platform/WindowOcclusion.h"

#include <QEvent>
#include <QWebEnginePage>
#include <QWidget>
#include <QWindow>

TPageVisibility::TPageVisibility(QWidget* view, QWebEnginePage* page) : QObject(page), FView(view), FPage(page)
{
    FView->installEventFilter(this);
    connect(TWindowOcclusion::Instance(), &TWindowOcclusion::CoveredChanged, this, [this](QWindow* window) {
        if (window == FWindowHandle)
            Update();
    });
    WatchWindow();
}

bool TPageVisibility::Seen() const
{
    const QWidget* window = FView->window();
    return FView->isVisible() && !FView->size().isEmpty() && !window->isMinimized() &&
           (!FWindowHandle || (FWindowHandle->isExposed() && !TWindowOcclusion::Instance()->Covered(FWindowHandle)));
}

// The page may move to another window; the window's native handle comes when it is shown.
void TPageVisibility::WatchWindow()
{
    QWidget* window = FView->window();
    if (window != FWindow) {
        if (FWindow)
            FWindow->removeEventFilter(this);
        FWindow = window;
        FWindow->installEventFilter(this);
    }
    QWindow* handle = window->windowHandle();
    if (handle != FWindowHandle) {
        if (FWindowHandle)
            FWindowHandle->removeEventFilter(this);
        FWindowHandle = handle;
        if (FWindowHandle) {
            FWindowHandle->installEventFilter(this);
            TWindowOcclusion::Instance()->Watch(FWindowHandle);
        }
    }
}

bool TPageVisibility::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::ParentChange:
    case QEvent::WindowStateChange:
    case QEvent::Expose:
        // The view tells the engine itself that it is shown when it is: decide after it has.
        if (!FUpdatePending) {
            FUpdatePending = true;
            QMetaObject::invokeMethod(this, &TPageVisibility::Update, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TPageVisibility::Update()
{
    FUpdatePending = false;
    WatchWindow();
    const bool seen = Seen();
    if (FPage->isVisible() != seen)
        FPage->setVisible(seen);
}
