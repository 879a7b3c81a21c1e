// The automation timer: refreshing every page and cycling the shown site.
#include "controllers/ControllerMain.h"

#include "shared/KestException.h"

void TCMain::TimerTick()
{
    Timer->stop();
    TCRegistry* settings = Registry();
    try {
        Input.Tick();
        // With the screen off, nobody sees a refresh or the next site: both wait.
        if (!ScreenPower.IsOn()) {
            EnableTimerByRule();
            return;
        }
        const QDateTime now = Clock();
        if (settings->TimerRefreshEnabled) {
            // A site outside its schedule is not refreshed automatically.
            const QList<int> due = RefreshTicks.Tick([settings, &now](int site) {
                return settings->Scheduled(site, now) ? settings->RefreshTime(site) : std::nullopt;
            });
            for (int i : due) {
                try {
                    if (TWebBrowser* page = Browser(i))
                        page->Refresh2();
                } catch (const EKestException&) {
                    // Automatic refreshes fail silently.
                }
            }
        } else {
            RefreshTicks.Reset();
        }
        for (TStage* stage : Stages()) {
            // The overview's pictures are of the pages as they are: nothing moves under it.
            if (settings->TimerCycleEnabled && !Overview.IsOpen())
                CycleStage(*stage, now);
            else
                stage->CycleTicks = 0;
        }
    } catch (...) {
        EnableTimerByRule();
        throw;
    }
    EnableTimerByRule();
}

// Each window cycles among its own sites. The shown site stays for its own time; one the cycle
// skips, for the global one; one whose schedule has closed, no longer.
void TCMain::CycleStage(TStage& stage, const QDateTime& now)
{
    TCRegistry* settings = Registry();
    const int shown = stage.Shown;
    if (shown < 0 || shown >= settings->SiteCount())
        return;
    const int stay = settings->CycleTime(shown).value_or(settings->TimerCycleInterval);
    const bool closed = !settings->Scheduled(shown, now);
    if ((++stage.CycleTicks >= stay || closed) && !Input.InUse(settings->TimerCyclePause)) {
        if (const int next = NextCyclingSite(stage, now); next >= 0) {
            if (&stage == &MainStage) {
                SelectPage(next);
            } else {
                ShowOnStage(stage, next);
                MarkSelectedTile();
            }
        }
        stage.CycleTicks = 0;
    }
}

int TCMain::NextCyclingSite(TStage& stage, const QDateTime& now)
{
    const QList<int> sites = SitesOn(stage);
    const int shown = stage.Shown;
    const QList<int> group = GroupOf(shown);
    const int from = group.isEmpty() ? sites.indexOf(shown) : sites.indexOf(group.last());
    for (int step = 1; step <= sites.size(); ++step) {
        const int site = sites.at((from + step) % sites.size());
        if (Registry()->CycleTime(site) && Registry()->Scheduled(site, now))
            return site;
    }
    return -1;
}
