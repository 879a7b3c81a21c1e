#include "controllers/wall/Overview.h"

#include "controllers/TabMarks.h"
#include "views/ViewOverview.h"

#include <QToolButton>

TOverview::TOverview(QWidget* window, TSites sites) : FWindow(window), FSites(std::move(sites))
{
    FRenew.setInterval(RenewSeconds * 1000);
    connect(&FRenew, &QTimer::timeout, this, [this] { Renew(true); });
}

TOverview::~TOverview()
{
    delete FView;
}

bool TOverview::IsOpen() const
{
    return FView;
}

void TOverview::Open(int current)
{
    if (FView)
        return;
    Q_EMIT Opening();
    FView = new TfrmOverview(FWindow);
    connect(FView, &TfrmOverview::CloseRequested, this, &TOverview::Close);
    connect(FView, &TfrmOverview::Picked, this, [this](int site) {
        Close();
        Q_EMIT Picked(site);
    });
    FView->SetSites(FSites().size(), current);
    Renew(false);
    FView->show();
    FView->raise();
    FView->activateWindow();
    if (QToolButton* cell = FView->Cells.value(current))
        cell->setFocus();
    // The pages draw their first frames once shown: the first pictures a moment later.
    QTimer::singleShot(500, FView, [this] { Renew(true); });
    FRenew.start();
}

void TOverview::Close()
{
    if (!FView)
        return;
    FRenew.stop();
    FView->hide();
    FView->deleteLater();
    FView = nullptr;
    Q_EMIT Closed();
}

void TOverview::Renew(bool pictures)
{
    if (!FView)
        return;
    const QList<TOverviewSite> sites = FSites();
    for (int i = 0; i < sites.size(); ++i) {
        FView->SetCaption(i, sites.at(i).Title + TTabMarks::Mark(sites.at(i).Page->LoadState()));
        if (pictures)
            FView->SetPicture(i, sites.at(i).Page->grab());
    }
}
