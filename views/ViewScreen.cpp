#include "views/ViewScreen.h"

#include "platform/TabControl.h"

#include <QCloseEvent>
#include <QScreen>
#include <QVBoxLayout>

TfrmScreen::TfrmScreen(QScreen* screen) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ScreenWindow"));
    // The program ends with its main window, whatever screens it fills besides.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Orvanta: %1").arg(screen->name()));
    // Black where no page is, and while the screen is off.
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tcPages = new TTabControl(this);
    tcPages->setObjectName(QStringLiteral("tcPages"));
    tcPages->SetTabsVisible(false);
    layout->addWidget(tcPages);
    // Placed on its screen before it is shown: a window manager fills the screen the window is on,
    // and with none the geometry is all there is.
    setScreen(screen);
    setGeometry(screen->geometry());
    showFullScreen();
}

void TfrmScreen::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        event->ignore();
    else
        QWidget::closeEvent(event);
}
