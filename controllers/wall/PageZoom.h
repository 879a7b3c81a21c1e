#pragma once

#include <QObject>

class TCMain;

// The zoom keys and Ctrl with the wheel: the shown site in a browser's zoom steps, kept per site.
class TPageZoom : public QObject
{
public:
    explicit TPageZoom(TCMain& main);

    // The zoom action that was triggered: in, out, or back to 100%.
    void ZoomClick(QObject* sender);
    void ZoomShownPage(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TCMain& FMain;
    int FWheelTurn = 0;
};
