#include "browser/WebEngineSetup.h"

#include <QCoreApplication>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#ifdef Q_OS_UNIX
    // Chromium refuses to run its sandbox as root; for anyone else the sandbox stays on.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("Orvanta: running as root, the web engine's sandbox is off.\n", stderr);
    }
#endif
}
