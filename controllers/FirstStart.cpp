#include "controllers/FirstStart.h"

#include "views/ViewWelcome.h"

#include <QEvent>
#include <QPushButton>

void TFirstStart::Update(QWidget* page, bool placeholder)
{
    if (!placeholder || !page) {
        delete FWelcome.data();
        return;
    }
    if (FWelcome && FWelcome->parentWidget() == page)
        return;
    delete FWelcome.data();
    FWelcome = new TfrmWelcome(page);
    connect(FWelcome->btnAddSite, &QPushButton::clicked, this, &TFirstStart::AddSiteRequested);
    FWelcome->setGeometry(page->rect());
    FWelcome->show();
    page->installEventFilter(this);
}

QWidget* TFirstStart::KeyTarget() const
{
    return FWelcome ? FWelcome->btnAddSite : nullptr;
}

bool TFirstStart::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && FWelcome && watched == FWelcome->parentWidget())
        FWelcome->setGeometry(static_cast<QWidget*>(watched)->rect());
    return QObject::eventFilter(watched, event);
}
