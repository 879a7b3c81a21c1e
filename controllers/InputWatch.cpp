#include "controllers/InputWatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// A key that changes what a form field holds, as opposed to moving about or a short-cut.
bool IsTyping(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

} // namespace

TInputWatch::TInputWatch(QWidget* window) : FWindow(window)
{
    qApp->installEventFilter(this);
}

void TInputWatch::Tick()
{
    if (IdleTicks < INT_MAX)
        ++IdleTicks;
}

bool TInputWatch::InUse(int pause) const
{
    return pause > 0 && IdleTicks < pause;
}

bool TInputWatch::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (!event->spontaneous()
        || (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::Wheel
            && type != QEvent::KeyPress))
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != FWindow)
        return false;
    IdleTicks = 0;
    Q_EMIT Used();
    if (type == QEvent::KeyPress && IsTyping(static_cast<QKeyEvent*>(event)))
        Q_EMIT Typed(widget);
    return false;
}
