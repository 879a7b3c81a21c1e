#include "browser/BackgroundCollector.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

TBackgroundCollector::TBackgroundCollector(QWebEnginePage* page) : QObject(page), FPage(page)
{
    connect(&FTimer, &QTimer::timeout, this, &TBackgroundCollector::Collect);
    FTimer.start(IntervalMs);
}

// The collector is the script engine's own (the engine is started with it exposed), called
// from the program's own world so that nothing a page defines stands in its way.
void TBackgroundCollector::Collect()
{
    if (!FPage->isVisible() && FPage->renderProcessPid() > 0)
        FPage->runJavaScript(QStringLiteral("typeof gc === 'function' && gc()"), QWebEngineScript::ApplicationWorld);
}
