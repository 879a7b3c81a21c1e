#include "platform/DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <cmath>

namespace {

constexpr double DesignedLetterWidth = 6.0;
constexpr double DesignedLineHeight = 13.0;

} // namespace

TDialogUnits::TDialogUnits(const QFontMetrics& metrics)
{
    // The average width of the 52 letters, as Windows measures a dialog font.
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    FScaleX = metrics.horizontalAdvance(letters) / 52.0 / DesignedLetterWidth;
    FScaleY = metrics.height() / DesignedLineHeight;
}

int TDialogUnits::X(int designed) const
{
    return int(std::lround(designed * FScaleX));
}

int TDialogUnits::Y(int designed) const
{
    return int(std::lround(designed * FScaleY));
}

QRect TDialogUnits::Rect(int left, int top, int width, int height) const
{
    return QRect(X(left), Y(top), X(width), Y(height));
}
