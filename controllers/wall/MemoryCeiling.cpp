#include "controllers/wall/MemoryCeiling.h"

#include "controllers/ControllerMain.h"
#include "shared/KestException.h"

TMemoryCeiling::TMemoryCeiling(TCMain& main) : FMain(main)
{
    QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] { Check(); });
    FTimer.start(CheckMs);
}

void TMemoryCeiling::Check()
{
    for (int i = 0; TWebBrowser* page = FMain.Browser(i); ++i) {
        if (FMain.IsShown(i) || page->RendererMemory() <= Ceiling)
            continue;
        try {
            page->Refresh2();
        } catch (const EKestException&) {
            // Like an automatic refresh, it fails silently.
        }
    }
}
