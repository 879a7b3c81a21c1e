#include "platform/BareSessionFocus.h"

#include "platform/ScreenFill.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

TBareSessionFocus::TBareSessionFocus(QWidget* mainWindow) : FMainWindow(mainWindow)
{
    qApp->installEventFilter(this);
}

bool TBareSessionFocus::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            GiveFocus(event->type() == QEvent::Show ? widget : nullptr);
    }
    return false;
}

// Later, so that a window opening in a closed one's place takes the focus first; Qt gives it
// once the window is on the screen. With no window named, the dialog still open or else the
// main window takes it.
void TBareSessionFocus::GiveFocus(QWidget* window)
{
    QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(window)] {
        QWidget* taker = window ? window.data() : QApplication::activeModalWidget();
        if (!taker)
            taker = FMainWindow;
        if (taker->isVisible() && QGuiApplication::focusWindow() != taker->windowHandle() && !HasWindowManager())
            taker->activateWindow();
    });
}
