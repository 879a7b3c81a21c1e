#include "browser/WebEngineSetup.h"

#include "platform/OpenGLProbe.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

void PrepareWebEngine(int argc, char* argv[])
{
    if (HasHardwareOpenGL(argc, argv)) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    } else {
        // Without a graphics card OpenGL is drawn on the processor by a driver that costs this
        // process some 60 MiB (25 MiB of it relocating its LLVM) and makes every frame slower
        // than drawing it in software in the first place. So the pages are composited by the
        // engine's software compositor (it turns its GPU work off when Qt Quick renders in
        // software) and nothing loads OpenGL at all: ten sites take about 130 MiB less and
        // load in half the time.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // Only for the platform plugin, which reads it while the application object is made:
        // programs started from here later (a browser, say) must not inherit it.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qAddPreRoutine([] { QTimer::singleShot(0, qApp, [] { qunsetenv("QT_XCB_GL_INTEGRATION"); }); });
    }
#ifdef Q_OS_UNIX
    // Chromium refuses to run its sandbox as root; for anyone else the sandbox stays on.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("Orvanta: running as root, the web engine's sandbox is off.\n", stderr);
    }
#endif
}
