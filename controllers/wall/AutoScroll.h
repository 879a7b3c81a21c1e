#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

class TInputWatch;
class TWebBrowser;

// Long pages that scroll by themselves: each page gets its site's pace, and the shown one holds
// still while someone uses the window, going on once the input has rested for the pause the
// settings give (as cycling does).
class TAutoScroll : public QObject
{
public:
    // `shown` names the page in the window; `pause` the seconds input must rest.
    TAutoScroll(TInputWatch& input, std::function<TWebBrowser*()> shown, std::function<int()> pause);

    // Every page with its pace in seconds a pass (0: it stays).
    void Apply(const std::vector<std::pair<TWebBrowser*, int>>& pages);
    // Looks at the input: the shown page held while it is in use, going on once it rested.
    void Tick();

private:
    std::function<TWebBrowser*()> FShown;
    std::function<int()> FPause;
    QElapsedTimer FLastInput;
    QTimer FTicker;
    QPointer<TWebBrowser> FHeld;
};
