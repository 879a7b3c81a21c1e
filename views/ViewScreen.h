#pragma once

#include <QWidget>

class QScreen;
class TTabControl;

// A window that fills one screen with the sites that live there, the pages alone. Passive.
class TfrmScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmScreen(QScreen* screen);

    TTabControl* tcPages;

protected:
    // A window manager's close (Alt+F4 on it) is refused: the window is its screen's while the
    // screen is there, and ends with the program.
    void closeEvent(QCloseEvent* event) override;
};
