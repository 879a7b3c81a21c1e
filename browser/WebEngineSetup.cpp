#include "browser/WebEngineSetup.h"

#include "platform/OpenGLProbe.h"

#include <QCoreApplication>
#include <QList>
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

// A variable read while the application object and the engine are made: programs started from
// here later (a browser, say) must not inherit it. A choice the user made with it stands.
void SetForStartOnly(const char* name, const char* value)
{
    static QList<const char*> names;
    if (!qEnvironmentVariableIsEmpty(name))
        return;
    qputenv(name, value);
    if (names.isEmpty()) {
        qAddPreRoutine([] {
            QTimer::singleShot(0, qApp, [] {
                for (const char* set : std::as_const(names))
                    qunsetenv(set);
            });
        });
    }
    names.append(name);
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
        //   relocations once loaded): 364 -> 328 MiB, 0.73 -> 0.64 s;
        // - the engine asks Vulkan which graphics card there is (Qt 6.8), and Vulkan's software
        //   driver, with LLVM, answers: 151 -> 103 MiB for one site. There is no card to find,
        //   so the Vulkan loader is given no driver.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        SetForStartOnly("QT_XCB_GL_INTEGRATION", "none");
        SetForStartOnly("VK_DRIVER_FILES", "/dev/null");
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
