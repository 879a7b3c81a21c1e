#include "platform/MessageBox.h"

#include "platform/Application.h"
#include "platform/ScreenFill.h"

#include <QMessageBox>
#include <QPainter>
#include <QThread>
#include <QTimer>

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

QMessageBox::Icon ToQt(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Information:
        return QMessageBox::Information;
    case TMessageIcon::Critical:
        return QMessageBox::Critical;
    case TMessageIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

// With no window manager a box has no frame of its own, and melts into the window behind it.
class TFramedMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QMessageBox::paintEvent(event);
        if (FFramed) {
            QPainter painter(this);
            painter.setPen(QPen(palette().color(QPalette::Shadow), 2));
            painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
    }

private:
    const bool FFramed = !HasWindowManager();
};

} // namespace

void MessageBox(const QString& caption, const QString& text, TMessageIcon icon)
{
    if (Hook()) {
        Hook()(caption, text, icon);
        return;
    }
    TFramedMessageBox box(ToQt(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void ShowInformation(const QString& text)
{
    MessageBox(QStringLiteral("Information"), text, TMessageIcon::Information);
}

void ShowNotice(const QString& text)
{
    // A notice found while the program starts (the settings' state) waits for the event loop, and
    // so comes up over the main window. The start itself then never runs a loop of its own, in
    // which a termination request would free pages just made (that crashes Qt 6.8's engine).
    if (!Hook() && QThread::currentThread()->loopLevel() == 0 && QCoreApplication::instance()) {
        QTimer::singleShot(0, QCoreApplication::instance(), [text] { ShowNotice(text); });
        return;
    }
    MessageBox(ApplicationTitle(), text, TMessageIcon::NoIcon);
}

void ShowError(const QString& text)
{
    MessageBox(ApplicationTitle(), text, TMessageIcon::Critical);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
