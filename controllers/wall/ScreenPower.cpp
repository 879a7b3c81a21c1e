#include "controllers/wall/ScreenPower.h"

#include "platform/TabControl.h"
#include "views/ViewMain.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

TScreenPower::TScreenPower(TfrmMain* form, std::function<QDateTime()> clock, std::function<QWidget*()> keyTarget)
    : FForm(form), FClock(std::move(clock)), FKeyTarget(std::move(keyTarget))
{
    FTicker.setInterval(1000);
    connect(&FTicker, &QTimer::timeout, this, &TScreenPower::Tick);
}

void TScreenPower::SetSchedule(const QString& entry)
{
    FSchedule = TSchedule::Of(entry);
    FScheduled = !entry.trimmed().isEmpty();
    FOpen.reset();
    if (FScheduled) {
        FTicker.start();
        Tick();
    } else {
        FTicker.stop();
        Set(true);
    }
    HoldAwake();
}

void TScreenPower::SetFullScreen(bool fullScreen)
{
    FFullScreen = fullScreen;
    HoldAwake();
}

void TScreenPower::Tick()
{
    const bool open = FSchedule.IsOpen(FClock());
    if (FOpen == open)
        return;
    FOpen = open;
    Set(open);
}

void TScreenPower::Set(bool on)
{
    if (on == FOn)
        return;
    FOn = on;
    Apply();
}

void TScreenPower::HoldAwake()
{
    FDisplay.KeepAwake(FOn && (FScheduled || FFullScreen));
}

void TScreenPower::Apply()
{
    if (!FCover) {
        FCover = new QWidget(FForm);
        FCover->setObjectName(QStringLiteral("ScreenOff"));
        FCover->setAutoFillBackground(true);
        QPalette black = FCover->palette();
        black.setColor(QPalette::Window, Qt::black);
        FCover->setPalette(black);
        FCover->setCursor(Qt::BlankCursor);
        FCover->setFocusPolicy(Qt::StrongFocus);
        FCover->setMouseTracking(true);
        FCover->setAttribute(Qt::WA_AcceptTouchEvents);
        FCover->hide();
    }
    HoldAwake();
    if (FOn) {
        FDisplay.PowerDown(false);
        qApp->removeEventFilter(this);
        FForm->removeEventFilter(this);
        FForm->tcBrowserContainer->show();
        FCover->hide();
        if (QWidget* focus = FFocus ? FFocus.data() : FKeyTarget())
            focus->setFocus();
        Q_EMIT Switched(true);
        return;
    }
    FFocus = QApplication::focusWidget();
    FCover->setGeometry(FForm->rect());
    FCover->show();
    FCover->raise();
    FCover->setFocus();
    FForm->tcBrowserContainer->hide();
    FDisplay.PowerDown(true);
    // Installed last, this filter sees input before the program's own short-cuts: the key that
    // wakes the screen does nothing else.
    qApp->installEventFilter(this);
    FForm->installEventFilter(this);
    Q_EMIT Switched(false);
}

bool TScreenPower::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FForm && event->type() == QEvent::Resize && FCover)
        FCover->setGeometry(FForm->rect());
    if (FOn || !event->spontaneous())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != FForm)
            return false;
        if (event->type() != QEvent::KeyRelease && event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::TouchEnd)
            Set(true);
        return true;
    }
    default:
        return false;
    }
}
