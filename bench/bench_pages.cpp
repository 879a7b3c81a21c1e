// Load time, page-switch time and memory with 1, 10 and 30 sites served from 127.0.0.1.
// Run: build/bench/bench_pages   (QT_QPA_PLATFORM=offscreen, or under Xvfb)
#include "BenchSupport.h"
#include "TestSupport.h"

#include "browser/WebEngineBrowser.h"
#include "controllers/ControllerMain.h"
#include "platform/TabControl.h"
#include "shared/LibCommaText.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

bool AllLoaded(TCMain* main)
{
    for (int i = 0; TWebBrowser* page = main->Browser(i); ++i) {
        if (page->Busy() || page->LocationURL().isEmpty())
            return false;
    }
    return true;
}

// Notes the first paint of a widget after it is armed.
class TPaintWatch : public QObject
{
public:
    bool Painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)
            Painted = true;
        return false;
    }
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Measure(THttpServer& server, int sites)
{
    StoreServedSites(server, sites, [](int i) {
        return QStringLiteral("<html><head><title>Site %1</title></head><body><h1>Site %1</h1><p>%2</p></body></html>")
            .arg(i)
            .arg(QString(2000, QLatin1Char('x')))
            .toUtf8();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    auto main = std::make_unique<TCMain>();
    main->MainForm->show();
    if (!WaitUntil([&] { return AllLoaded(main.get()); }, 120000)) {
        std::printf("%2d sites: pages did not all load\n", sites);
        return;
    }
    const qint64 loadMs = elapsed.elapsed();
    Pause(2000);
    const qint64 pss = TreePssKiB();

    const int before = server.Total();
    std::vector<double> switches;
    int unpainted = 0;
    for (int round = 0; round < 20; ++round) {
        const int target = (main->CurrentIndex() + 1) % sites;
        auto* page = static_cast<TWebEngineBrowser*>(main->Browser(target));
        TPaintWatch watch;
        page->Application()->installEventFilter(&watch);
        QElapsedTimer switchTimer;
        switchTimer.start();
        main->SelectPage(target);
        if (WaitUntil([&] { return watch.Painted; }, 2000))
            switches.push_back(switchTimer.nsecsElapsed() / 1e6);
        else
            ++unpainted;
        page->Application()->removeEventFilter(&watch);
    }
    std::printf("%2d sites: all loaded after %5lld ms; switch to painted median %6.2f ms (%d of 20 unpainted); "
                "requests while switching %d; PSS %lld MiB\n",
                sites, loadMs, Median(switches), unpainted, server.Total() - before, pss / 1024);
    TfrmMain* form = main->MainForm;
    main.reset();
    delete form;
    Pause(500);
}

} // namespace

int main(int argc, char* argv[])
{
    return RunInApplication(argc, argv, [](int, char**) {
        THttpServer server;
        for (const int sites : {1, 10, 30})
            Measure(server, sites);
        return 0;
    });
}
