#include "platform/PointerHider.h"

#include <QApplication>
#include <QWidget>

TPointerHider::TPointerHider(QWidget* window) : FWindow(window)
{
    FRest.setSingleShot(true);
    FRest.setInterval(RestMs);
    connect(&FRest, &QTimer::timeout, this, &TPointerHider::Hide);
}

TPointerHider::~TPointerHider()
{
    Show();
}

void TPointerHider::SetActive(bool active)
{
    if (active == FActive)
        return;
    FActive = active;
    if (active) {
        qApp->installEventFilter(this);
        FRest.start();
    } else {
        qApp->removeEventFilter(this);
        FRest.stop();
        Show();
    }
}

bool TPointerHider::Active() const
{
    return FActive;
}

bool TPointerHider::Hidden() const
{
    return FHidden;
}

void TPointerHider::Hide()
{
    if (FHidden)
        return;
    FHidden = true;
    QApplication::setOverrideCursor(Qt::BlankCursor);
}

void TPointerHider::Show()
{
    if (!FHidden)
        return;
    FHidden = false;
    QApplication::restoreOverrideCursor();
}

bool TPointerHider::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && event->spontaneous()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == FWindow) {
            Show();
            FRest.start();
        }
    }
    return false;
}
