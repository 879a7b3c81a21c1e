#include "platform/HotTabStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionTab>
#include <QWidget>

THotTabStyle::THotTabStyle(QStyle* base) : QProxyStyle(base) {}

void THotTabStyle::Apply(QWidget* widget)
{
    auto* style = new THotTabStyle(QStyleFactory::create(widget->style()->name()));
    style->setParent(widget);
    widget->setStyle(style);
    // Without hover events the widget never learns which tab is under the pointer.
    widget->setAttribute(Qt::WA_Hover);
}

void THotTabStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_TabBarTabShape || !option->state.testFlag(State_MouseOver) || option->state.testFlag(State_Selected))
        return;
    QColor wash = option->palette.color(QPalette::Highlight);
    wash.setAlpha(40);
    painter->fillRect(option->rect.adjusted(2, 2, -2, -2), wash);
}
