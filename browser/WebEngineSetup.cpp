#include "browser/WebEngineSetup.h"

#include "platform/OpenGLProbe.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QTimer>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A desktop program says nothing on its error output unless asked: the engine's start-up
// report, its notes on graphics and the pages' console messages ("js") stay unsaid. Rules the
// user sets in QT_LOGGING_RULES take precedence over these.
void QuietEngineDiagnostics()
{
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\ndefault.warning=false\njs.warning=false\njs.critical=false"));
}

// Chromium's own log stays unsaid too, and the script engine's collector is exposed for the
// pages nobody sees (TBackgroundCollector). Flags the user sets come after ours.
void SetEngineFlags()
{
    static const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--log-level=3 --js-flags=--expose-gc " + flags);
    // Read when the first page is made, before the event loop; programs started from here
    // later get the user's own flags.
    qAddPreRoutine([] {
        QTimer::singleShot(0, qApp, [] {
            if (flags.isEmpty())
                qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
            else
                qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        });
    });
}

} // namespace

void PrepareWebEngine(int argc, char* argv[])
{
    QuietEngineDiagnostics();
    SetEngineFlags();
    if (HasHardwareOpenGL(argc, argv)) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    } else {
        // Without a graphics card OpenGL is drawn on the processor, by a driver that costs
        // this process tens of megabytes and every frame more time than drawing in software
        // in the first place. Measured with ten sites under Xvfb (bench/compare):
        // - Qt Quick renders in software, and the engine, seeing that, composites the pages
        //   in software and starts no GPU work: 455 -> 364 MiB, all loaded 1.2 -> 0.73 s;
        // - the platform plugin loads no OpenGL (the driver's LLVM alone is 25 MiB of
        //   relocations once loaded): 364 -> 328 MiB, 0.73 -> 0.64 s.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // Only for the platform plugin, which reads it while the application object is made:
        // programs started from here later (a browser, say) must not inherit it. A choice the
        // user made with the same variable stands.
        if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
            qputenv("QT_XCB_GL_INTEGRATION", "none");
            qAddPreRoutine([] { QTimer::singleShot(0, qApp, [] { qunsetenv("QT_XCB_GL_INTEGRATION"); }); });
        }
    }
#ifdef Q_OS_UNIX
    // Chromium refuses to run its sandbox as root; for anyone else the sandbox stays on.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs("Orvanta: running as root, the web engine's sandbox is off.\n", stderr);
    }
#endif
}

QString WebEngineVersion()
{
    return QStringLiteral("Qt WebEngine %1, Chromium %2")
        .arg(QLatin1String(qWebEngineVersion()), QLatin1String(qWebEngineChromiumVersion()));
}

QString WebEngineSecurityLevel()
{
    return QStringLiteral("Security fixes up to Chromium %1").arg(QLatin1String(qWebEngineChromiumSecurityPatchVersion()));
}
