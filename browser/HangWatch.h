#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebEnginePage;

// Asks a page every few seconds to run a trivial script. A page whose renderer has not
// answered for half a minute (an endless script) has that renderer ended, so that it comes
// back as after a crash. A page that merely loads slowly answers, as its renderer is idle.
class THangWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int ProbeMs = 5000;
    static constexpr int HungMs = 30000;

    explicit THangWatch(QWebEnginePage* page);

private:
    void Probe();
    void EndRenderer();

    QWebEnginePage* FPage;
    QTimer FTimer;
    // Since the question that has not been answered yet; invalid when none is open.
    QElapsedTimer FAsked;
    quint64 FQuestion = 0;
};
