#include "platform/AlignLayout.h"

#include <QWidget>

TAlignLayout::TAlignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

TAlignLayout::~TAlignLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

int TAlignLayout::IndexOf(const QWidget* widget) const
{
    for (int i = 0; i < FEntries.size(); ++i) {
        if (FEntries.at(i).Item->widget() == widget)
            return i;
    }
    return -1;
}

void TAlignLayout::SetAlign(QWidget* widget, TAlign align)
{
    const int index = IndexOf(widget);
    if (index >= 0 && FEntries.at(index).Align == align)
        return;
    QLayoutItem* item = index >= 0 ? FEntries.takeAt(index).Item : nullptr;
    if (!item) {
        addChildWidget(widget);
        item = new QWidgetItem(widget);
    }
    FEntries.append({item, align});
    invalidate();
}

TAlign TAlignLayout::Align(const QWidget* widget) const
{
    const int index = IndexOf(widget);
    return index >= 0 ? FEntries.at(index).Align : TAlign::None;
}

QList<QWidget*> TAlignLayout::Strips(TAlign edge) const
{
    QList<QWidget*> strips;
    for (const TEntry& entry : FEntries) {
        QWidget* widget = entry.Item->widget();
        if (entry.Align == edge && widget)
            strips.append(widget);
    }
    return strips;
}

void TAlignLayout::addItem(QLayoutItem* item)
{
    FEntries.append({item, TAlign::None});
}

QLayoutItem* TAlignLayout::itemAt(int index) const
{
    return index >= 0 && index < FEntries.size() ? FEntries.at(index).Item : nullptr;
}

QLayoutItem* TAlignLayout::takeAt(int index)
{
    return index >= 0 && index < FEntries.size() ? FEntries.takeAt(index).Item : nullptr;
}

int TAlignLayout::count() const
{
    return FEntries.size();
}

QSize TAlignLayout::Size(bool minimum) const
{
    int height = 0;
    int width = 0;
    for (const TEntry& entry : FEntries) {
        if (entry.Item->isEmpty() || entry.Align == TAlign::None)
            continue;
        const QSize size = minimum ? entry.Item->minimumSize() : entry.Item->sizeHint();
        width = qMax(width, size.width());
        height += entry.Align == TAlign::Client ? (minimum ? 0 : size.height()) : entry.Item->sizeHint().height();
    }
    const QMargins margins = contentsMargins();
    return QSize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

QSize TAlignLayout::sizeHint() const
{
    return Size(false);
}

QSize TAlignLayout::minimumSize() const
{
    return Size(true);
}

void TAlignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    QRect free = rect.marginsRemoved(contentsMargins());
    for (const TAlign edge : {TAlign::Top, TAlign::Bottom}) {
        for (const TEntry& entry : FEntries) {
            if (entry.Align != edge || entry.Item->isEmpty())
                continue;
            const int height = qMin(entry.Item->sizeHint().height(), free.height());
            if (edge == TAlign::Top) {
                entry.Item->setGeometry(QRect(free.left(), free.top(), free.width(), height));
                free.setTop(free.top() + height);
            } else {
                entry.Item->setGeometry(QRect(free.left(), free.bottom() - height + 1, free.width(), height));
                free.setBottom(free.bottom() - height);
            }
        }
    }
    for (const TEntry& entry : FEntries) {
        if (entry.Align == TAlign::Client && !entry.Item->isEmpty())
            entry.Item->setGeometry(free);
    }
}
