#pragma once

#include <QObject>

class QWidget;

// On a bare X session (a kiosk started with xinit) no window manager gives a window the keyboard
// focus, so F11 and the site keys would do nothing until someone clicked into the window. There
// each of the program's windows takes the focus itself when it is shown, and the main window (or
// the dialog still open) takes it back when another window closes.
class TBareSessionFocus : public QObject
{
public:
    explicit TBareSessionFocus(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GiveFocus(QWidget* window);

    QWidget* FMainWindow;
};
