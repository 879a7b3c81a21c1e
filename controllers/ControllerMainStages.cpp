// Where the sites are shown: the main window and the screens' windows, each a stage showing one
// group of its sites at a time (one site, or as many as there are tiles); the overview's pages.
#include "controllers/ControllerMain.h"

#include "platform/TabControl.h"

std::vector<TStage*> TCMain::Stages()
{
    std::vector<TStage*> stages = ScreenWindows.Stages();
    stages.insert(stages.begin(), &MainStage);
    return stages;
}

TStage& TCMain::StageOf(int site)
{
    TStage* stage = ScreenWindows.StageOf(site);
    return stage ? *stage : MainStage;
}

QList<int> TCMain::SitesOn(const TStage& stage)
{
    QList<int> sites;
    for (int i = 0; i < static_cast<int>(Browsers.size()); ++i) {
        if (&StageOf(i) == &stage)
            sites.append(i);
    }
    return sites;
}

QList<int> TCMain::GroupOf(int site)
{
    const QList<int> sites = SitesOn(StageOf(site));
    const int at = sites.indexOf(site);
    if (at < 0)
        return {};
    const QSize grid = Registry()->TileGrid();
    const int tiles = grid.width() * grid.height();
    return sites.mid(at - at % tiles, tiles);
}

bool TCMain::IsShown(int site)
{
    TWebBrowser* page = Browser(site);
    return page && StageOf(site).Area->IsAligned(page);
}

void TCMain::ShowOnStage(TStage& stage, int site)
{
    const QList<int> group = GroupOf(site);
    // A group short of the grid (the last one, a screen with fewer sites) fills the window
    // with fewer, larger tiles.
    const QSize grid = Registry()->TileGrid();
    const int columns = qBound(1, static_cast<int>(group.size()), grid.width());
    stage.Area->SetTiles(QSize(columns, qMin(grid.height(), (static_cast<int>(group.size()) + columns - 1) / columns)));
    for (int i : SitesOn(stage)) {
        TWebBrowser* page = Browser(i);
        if (group.contains(i))
            stage.Area->AlignClient(page, group.indexOf(i));
        else if (stage.Area->IsAligned(page))
            stage.Area->Collapse(page);
    }
    stage.Shown = site;
}

void TCMain::PlacePages()
{
    for (int i = 0; TWebBrowser* page = Browser(i); ++i) {
        TTabControl* area = StageOf(i).Area;
        if (page->parentWidget() == area->ClientArea())
            continue;
        if (TTabControl* from = TTabControl::Holding(page))
            from->Collapse(page);
        page->setParent(area->ClientArea());
        area->Collapse(page);
        page->show();
    }
    for (TStage* stage : Stages()) {
        const QList<int> sites = SitesOn(*stage);
        if (!sites.isEmpty())
            ShowOnStage(*stage, sites.contains(stage->Shown) ? stage->Shown : sites.first());
    }
    MarkSelectedTile();
}

void TCMain::MarkSelectedTile()
{
    const int current = CurrentIndex();
    for (TStage* stage : Stages()) {
        // A tile alone needs no mark.
        const QList<int> group = GroupOf(stage->Shown);
        stage->Area->MarkTile(&StageOf(current) == stage && group.size() > 1 ? group.indexOf(current) : -1);
    }
}

void TCMain::RevealPages()
{
    // Under the overview the main window's pages are drawn at their full size.
    MainStage.Area->SetTiles(QSize(1, 1));
    for (TStage* stage : Stages()) {
        for (int site : SitesOn(*stage)) {
            if (!stage->Area->IsAligned(Browser(site)))
                stage->Area->AlignClient(Browser(site), 0);
        }
        for (int site : GroupOf(stage->Shown))
            Browser(site)->raise();
    }
}

QList<TOverviewSite> TCMain::OverviewSites()
{
    QList<TOverviewSite> sites;
    for (int i = 0; TWebBrowser* page = Browser(i); ++i)
        sites.append({page, Registry()->Titles.value(i)});
    return sites;
}

void TCMain::PickTileAt(QWidget* receiver)
{
    const int site = PageOf(receiver);
    if (site >= 0 && site != CurrentIndex() && IsShown(site)) {
        MainForm->tcBrowserContainer->SetTabIndex(site);
        ShowSelectedPage();
    }
}
