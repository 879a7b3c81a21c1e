#pragma once

#include <QRect>

class QFontMetrics;

// Geometry designed in pixels for 8-point MS Sans Serif at 96 dpi (6 pixels to the average
// letter, 13 to the line), scaled to the metrics of the font in use, as Windows scales dialog
// units: a window keeps its proportions and its texts fit at any font size.
class TDialogUnits
{
public:
    explicit TDialogUnits(const QFontMetrics& metrics);

    int X(int designed) const;
    int Y(int designed) const;
    QRect Rect(int left, int top, int width, int height) const;

private:
    double FScaleX;
    double FScaleY;
};
