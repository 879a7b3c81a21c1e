// The automation timer: refreshing every page and cycling the shown site.
#include "controllers/ControllerMain.h"

#include "shared/KestException.h"

void TCMain::TimerTick()
{
    Timer->stop();
    TCRegistry* settings = Registry();
    try {
        Input.Tick();
        if (settings->TimerRefreshEnabled) {
            const QList<int> due = RefreshTicks.Tick([settings](int site) { return settings->RefreshTime(site); });
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
            // The shown site stays for its own time; one the cycle skips, for the global one.
            const int current = CurrentIndex();
            const int stay = settings->CycleTime(current).value_or(settings->TimerCycleInterval);
            if (++CycleTicks >= stay && !Input.InUse(settings->TimerCyclePause)) {
                if (const int next = NextCyclingSite(current); next >= 0)
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

// The next site after `from` that takes part in cycling, wrapping; -1 when none does.
int TCMain::NextCyclingSite(int from)
{
    const int count = Registry()->SiteCount();
    for (int step = 1; step <= count; ++step) {
        const int site = (from + step) % count;
        if (Registry()->CycleTime(site))
            return site;
    }
    return -1;
}

