#include "controllers/wall/PageZoom.h"

#include "controllers/ControllerMain.h"

#include <QAction>
#include <QApplication>
#include <QWheelEvent>
#include <iterator>

namespace {

// The zoom levels of a browser's zoom keys, in percent.
constexpr int ZoomSteps[] = {25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};
// One notch of a mouse wheel.
constexpr int WheelNotch = 120;

int NextZoom(int percent, int direction)
{
    if (direction > 0) {
        for (int step : ZoomSteps) {
            if (step > percent)
                return step;
        }
        return MaximumZoom;
    }
    for (auto step = std::rbegin(ZoomSteps); step != std::rend(ZoomSteps); ++step) {
        if (*step < percent)
            return *step;
    }
    return MinimumZoom;
}

} // namespace

TPageZoom::TPageZoom(TCMain& main) : FMain(main)
{
    qApp->installEventFilter(this);
}

void TPageZoom::ZoomClick(QObject* sender)
{
    const int zoom = FMain.Registry()->Zoom(FMain.CurrentIndex());
    if (sender == FMain.MainForm->ZoomInAction)
        ZoomShownPage(NextZoom(zoom, +1));
    else if (sender == FMain.MainForm->ZoomOutAction)
        ZoomShownPage(NextZoom(zoom, -1));
    else
        ZoomShownPage(NormalZoom);
}

void TPageZoom::ZoomShownPage(int percent)
{
    const int current = FMain.CurrentIndex();
    TWebBrowser* shown = FMain.Browser(current);
    if (!shown)
        return;
    FMain.Registry()->SetZoom(current, percent);
    shown->SetZoom(FMain.Registry()->Zoom(current));
}

// Ctrl with the wheel over the shown page zooms it, a step a notch, as browsers do.
bool TPageZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int page = FMain.PageOf(qobject_cast<QWidget*>(watched));
    if (page < 0 || page != FMain.CurrentIndex() || !wheel->modifiers().testFlag(Qt::ControlModifier))
        return false;
    FWheelTurn += wheel->angleDelta().y();
    for (; FWheelTurn >= WheelNotch; FWheelTurn -= WheelNotch)
        ZoomShownPage(NextZoom(FMain.Registry()->Zoom(page), +1));
    for (; FWheelTurn <= -WheelNotch; FWheelTurn += WheelNotch)
        ZoomShownPage(NextZoom(FMain.Registry()->Zoom(page), -1));
    event->accept();
    return true;
}
