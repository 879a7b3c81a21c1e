#pragma once

#include <QObject>
#include <QTimer>

class QWebEnginePage;

// A page nobody sees is drawn no frames, and the engine then seldom collects the garbage of
// its script: the elements a dashboard removes as it rebuilds a table stay in memory, which
// grows for as long as the page goes on changing. Once a minute such a page collects it.
class TBackgroundCollector : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 60000;

    explicit TBackgroundCollector(QWebEnginePage* page);

    void Collect();

private:
    QWebEnginePage* FPage;
    QTimer FTimer;
};
