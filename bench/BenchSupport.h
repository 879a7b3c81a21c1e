#pragma once

#include <QEventLoop>
#include <QTimer>
#include <QMap>
#include <QtGlobal>
#include <functional>

// Proportional set size, in KiB, of this process and every process below it (the web
// engine's renderers and helpers), read from /proc.
qint64 TreePssKiB();

// Waits in a real event loop: the engine schedules its work through it, and the
// process-and-sleep loop of QTest's waits starves it.
template <class TPredicate>
bool WaitUntil(TPredicate predicate, int timeoutMs)
{
    if (predicate())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (predicate())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return predicate();
}

class THttpServer;

// Serves `count` sites whose pages are made by `page` from their number, and stores them as
// the site list with the extra settings given.
void StoreServedSites(THttpServer& server, int count, const std::function<QByteArray(int)>& page,
                      const QMap<QString, QString>& settings = {});

inline void Pause(int ms)
{
    WaitUntil([] { return false; }, ms);
}
