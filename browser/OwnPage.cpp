#include "browser/OwnPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

const char* const OwnPageProperty = "orvantaOwnPage";

} // namespace

QVBoxLayout* LayOutOwnPage(QWidget* page, const QString& name, const QString& heading)
{
    page->setObjectName(name);
    page->setAutoFillBackground(true);
    page->setProperty(OwnPageProperty, true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 24);
    auto* title = new QLabel(heading, page);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    title->setFont(bold);
    layout->addWidget(title);
    return layout;
}

bool IsOnOwnPage(const QWidget* widget)
{
    for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
        if (widget->property(OwnPageProperty).toBool())
            return widget->isVisible();
    }
    return false;
}
