#include "browser/HangWatch.h"

#include <QPointer>
#include <QWebEnginePage>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/types.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

THangWatch::THangWatch(QWebEnginePage* page) : QObject(page), FPage(page)
{
    connect(&FTimer, &QTimer::timeout, this, &THangWatch::Probe);
    FTimer.start(ProbeMs);
    // A new renderer or a new document starts with a clean slate.
    connect(page, &QWebEnginePage::renderProcessPidChanged, this, [this] { FAsked.invalidate(); });
    connect(page, &QWebEnginePage::loadStarted, this, [this] { FAsked.invalidate(); });
}

void THangWatch::Probe()
{
    if (FPage->renderProcessPid() <= 0)
        return;
    if (FAsked.isValid()) {
        if (FAsked.elapsed() >= HungMs)
            EndRenderer();
        return;
    }
    FAsked.start();
    const quint64 question = ++FQuestion;
    QPointer<THangWatch> self(this);
    FPage->runJavaScript(QStringLiteral("0"), [self, question](const QVariant&) {
        if (self && self->FQuestion == question)
            self->FAsked.invalidate();
    });
}

void THangWatch::EndRenderer()
{
    FAsked.invalidate();
    const qint64 pid = FPage->renderProcessPid();
    if (pid <= 0)
        return;
#ifdef Q_OS_UNIX
    ::kill(pid_t(pid), SIGKILL);
#endif
#ifdef Q_OS_WIN
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
#endif
}
