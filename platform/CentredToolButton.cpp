#include "platform/CentredToolButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

void TCentredToolButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The button's face over its whole width, then the picture and caption in the middle.
    QStyleOptionToolButton face = option;
    face.text.clear();
    face.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, face);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int content = qMin(sizeHint().width(), width());
    option.rect = QRect((width() - content) / 2, 0, content, height()).adjusted(frame, frame, -frame, -frame);
    if (isDown() || isChecked())
        option.rect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                              style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.drawControl(QStyle::CE_ToolButtonLabel, option);
}
