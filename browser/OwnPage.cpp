#include "browser/OwnPage.h"

#include <QLabel>
#include <QVBoxLayout>

QVBoxLayout* LayOutOwnPage(QWidget* page, const QString& name, const QString& heading)
{
    page->setObjectName(name);
    page->setAutoFillBackground(true);
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
