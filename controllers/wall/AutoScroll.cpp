#include "controllers/wall/AutoScroll.h"

#include "browser/WebBrowser.h"
#include "controllers/InputWatch.h"

TAutoScroll::TAutoScroll(TInputWatch& input, std::function<TWebBrowser*()> shown, std::function<int()> pause)
    : FShown(std::move(shown)), FPause(std::move(pause))
{
    // The first input holds the page at once; the ticker keeps it held.
    connect(&input, &TInputWatch::Used, this, [this] {
        FLastInput.start();
        if (FTicker.isActive() && FHeld != FShown())
            Tick();
    });
    FTicker.setInterval(1000);
    connect(&FTicker, &QTimer::timeout, this, &TAutoScroll::Tick);
}

void TAutoScroll::Apply(const std::vector<std::pair<TWebBrowser*, int>>& pages)
{
    FTicker.stop();
    for (const auto& [page, seconds] : pages) {
        page->SetScrollTime(seconds);
        if (seconds > 0)
            FTicker.start();
    }
}

void TAutoScroll::Tick()
{
    const int pause = FPause();
    const bool inUse = pause > 0 && FLastInput.isValid() && !FLastInput.hasExpired(qint64(pause) * 1000);
    TWebBrowser* page = FShown();
    if (FHeld && (!inUse || FHeld != page)) {
        FHeld->SetScrollPaused(false);
        FHeld = nullptr;
    }
    // Said again every second while held: a page loaded meanwhile starts out moving.
    if (inUse && page) {
        page->SetScrollPaused(true);
        FHeld = page;
    }
}
