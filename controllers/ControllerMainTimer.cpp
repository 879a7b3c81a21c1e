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
        if (settings->TimerCycleEnabled) {
            // The shown site stays for its own time; one the cycle skips, for the global one; one
            // whose schedule has closed, no longer.
            const int current = CurrentIndex();
            const int stay = settings->CycleTime(current).value_or(settings->TimerCycleInterval);
            const bool closed = !settings->Scheduled(current, now);
            if ((++CycleTicks >= stay || closed) && !Input.InUse(settings->TimerCyclePause)) {
                if (const int next = NextCyclingSite(current, now); next >= 0)
                    SelectPage(next);
                CycleTicks = 0;
            }
        } else {
            CycleTicks = 0;
        }
    } catch (...) {
        EnableTimerByRule();
        throw;
    }
    EnableTimerByRule();
}

// The next site after `from` that takes part in cycling now, wrapping; -1 when none does.
int TCMain::NextCyclingSite(int from, const QDateTime& now)
{
    const int count = Registry()->SiteCount();
    for (int step = 1; step <= count; ++step) {
        const int site = (from + step) % count;
        if (Registry()->CycleTime(site) && Registry()->Scheduled(site, now))
            return site;
    }
    return -1;
}

