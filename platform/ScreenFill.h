#pragma once

#include <QRect>
#include <optional>

class QWidget;

// Full screen for a top-level window. Where a window manager acts on the request, the window
// state is all it takes. On a bare X session (a kiosk started with xinit) nobody acts on it, so
// the window covers its screen itself and gets its size and place back when it leaves.
class TScreenFill
{
public:
    explicit TScreenFill(QWidget* window);

    void SetFullScreen(bool fullScreen);

private:
    QWidget* FWindow;
    // Where the window stood before it covered its screen itself.
    std::optional<QRect> FNormal;
};

// Whether a window manager runs on the display: always so but on X11, where one says so on
// the root window.
bool HasWindowManager();
