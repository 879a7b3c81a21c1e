#include "views/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int ImageSize = 16;

QPolygonF ArrowLeft()
{
    return QPolygonF({{1, 8}, {7, 2}, {7, 5.5}, {15, 5.5}, {15, 10.5}, {7, 10.5}, {7, 14}});
}

QPolygonF Rotated(const QPolygonF& polygon, qreal degrees)
{
    QTransform turn;
    turn.translate(8, 8).rotate(degrees).translate(-8, -8);
    return turn.map(polygon);
}

void DrawArrowHead(QPainter& painter, QPointF tip, qreal degrees)
{
    QTransform turn;
    turn.translate(tip.x(), tip.y()).rotate(degrees);
    painter.drawPolygon(turn.map(QPolygonF({{0, 0}, {-4.5, -3.5}, {-4.5, 3.5}})));
}

QPixmap DrawPicture(TPicture picture, bool hot)
{
    QPixmap pixmap(ImageSize, ImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = hot ? QColor(200, 30, 30) : QColor(128, 128, 128);
    const QColor line = hot ? QColor(20, 40, 200) : QColor(80, 80, 80);
    painter.setPen(QPen(line, 1));
    painter.setBrush(fill);
    switch (picture) {
    case TPicture::Back:
        painter.drawPolygon(ArrowLeft());
        break;
    case TPicture::Forward:
        painter.drawPolygon(Rotated(ArrowLeft(), 180));
        break;
    case TPicture::Home:
        painter.drawPolygon(Rotated(ArrowLeft(), -90));
        break;
    case TPicture::Refresh:
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(fill, 2.2));
        painter.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 150 * 16);
        painter.drawArc(QRectF(2.5, 2.5, 11, 11), 280 * 16, 150 * 16);
        painter.setPen(QPen(line, 1));
        painter.setBrush(line);
        DrawArrowHead(painter, {2.8, 10.5}, 100);
        DrawArrowHead(painter, {13.2, 5.5}, -80);
        break;
    case TPicture::Stop:
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(QPen(hot ? Qt::white : QColor(235, 235, 235), 2.2));
        painter.drawLine(QPointF(5, 5), QPointF(11, 11));
        painter.drawLine(QPointF(11, 5), QPointF(5, 11));
        break;
    }
    return pixmap;
}

} // namespace

QList<QPixmap> ImageList(bool hot)
{
    QList<QPixmap> images;
    for (const TPicture picture : {TPicture::Back, TPicture::Forward, TPicture::Home, TPicture::Refresh, TPicture::Stop})
        images.append(DrawPicture(picture, hot));
    return images;
}

QIcon ToolbarIcon(const QPixmap& normal, const QPixmap& hot)
{
    QIcon icon(normal);
    icon.addPixmap(hot, QIcon::Active);
    return icon;
}

QPixmap BalloonPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(192, 192, 192));
    painter.drawEllipse(QRectF(0, 22, 9, 5));
    painter.drawEllipse(QRectF(4, 20, 8, 6));
    painter.drawEllipse(QRectF(22, 8, 9, 5));
    painter.drawEllipse(QRectF(25, 6, 6, 5));

    QPainterPath envelope;
    envelope.moveTo(16, 23);
    envelope.cubicTo(10, 18, 5, 14, 5, 10);
    envelope.cubicTo(5, 3, 10, 1, 16, 1);
    envelope.cubicTo(22, 1, 27, 3, 27, 10);
    envelope.cubicTo(27, 14, 22, 18, 16, 23);
    painter.save();
    painter.setClipPath(envelope);
    const QColor panels[] = {QColor(220, 30, 30), QColor(250, 210, 20), QColor(30, 80, 220), QColor(30, 160, 60),
                             QColor(220, 30, 30), QColor(250, 210, 20)};
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(panels[i]);
        painter.drawRect(QRectF(5 + i * 22.0 / 6, 0, 22.0 / 6 + 0.5, 24));
    }
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 30, 10), 0.8));
    painter.drawPath(envelope);
    painter.drawLine(QPointF(13, 21), QPointF(14, 26));
    painter.drawLine(QPointF(19, 21), QPointF(18, 26));
    painter.setBrush(QColor(140, 90, 40));
    painter.drawRect(QRectF(13.5, 26, 5, 4));
    return pixmap;
}

QIcon BalloonIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(BalloonPicture(size));
    return icon;
}
