// Ten sites from 127.0.0.1, "Refresh all" and "Cycle sites" every second: memory each minute.
// Run: build/bench/bench_longrun [minutes, default 10]
#include "BenchSupport.h"
#include "TestSupport.h"

#include "controllers/ControllerMain.h"
#include "shared/LibCommaText.h"

#include <QElapsedTimer>
#include <QSettings>
#include <cstdio>
#include <memory>

namespace {

int Run(int argc, char* argv[])
{
    const int minutes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    THttpServer server;
    StoreServedSites(
        server, 10,
        [](int i) {
            return QStringLiteral("<html><head><title>Site %1</title><style>p{color:#345}</style></head>"
                                  "<body><h1>Site %1</h1><p id=t></p><script>"
                                  "document.getElementById('t').textContent = new Array(500).join('word ');"
                                  "</script></body></html>")
                .arg(i)
                .toUtf8();
        },
        {{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "1"}, {"TimerCycleEnabled", "1"},
         {"TimerCycleInterval", "1"}});
    auto main = std::make_unique<TCMain>();
    main->MainForm->show();
    QElapsedTimer elapsed;
    elapsed.start();
    for (int minute = 1; minute <= minutes; ++minute) {
        Pause(int(minute * 60000 - elapsed.elapsed()));
        std::printf("minute %2d: PSS %lld MiB, requests so far %d\n", minute, TreePssKiB() / 1024, server.Total());
        std::fflush(stdout);
    }
    main->Registry()->TimerRefreshEnabled = false;
    main->Registry()->TimerCycleEnabled = false;
    main->Timer->stop();
    const bool settled = WaitUntil(
        [&] {
            for (int i = 0; TWebBrowser* page = main->Browser(i); ++i) {
                if (page->Busy() || !page->LocationName().startsWith(QStringLiteral("Site ")))
                    return false;
            }
            return true;
        },
        30000);
    std::printf("after the run: %s\n", settled ? "every page loaded with its title" : "a page is blank or still loading");
    TfrmMain* form = main->MainForm;
    main.reset();
    delete form;
    return settled ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    return RunInApplication(argc, argv, Run);
}
