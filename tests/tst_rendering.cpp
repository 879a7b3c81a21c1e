#include "TestSupport.h"
#include "platform/OpenGLProbe.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

class TestRendering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isSoftwareRenderer_data()
    {
        QTest::addColumn<QByteArray>("renderer");
        QTest::addColumn<bool>("software");
        QTest::newRow("llvmpipe") << QByteArray("llvmpipe (LLVM 15.0.6, 256 bits)") << true;
        QTest::newRow("softpipe") << QByteArray("softpipe") << true;
        QTest::newRow("classic swrast") << QByteArray("Software Rasterizer") << true;
        QTest::newRow("SwiftShader") << QByteArray("SwiftShader Device (Subzero)") << true;
        QTest::newRow("Windows without driver") << QByteArray("Microsoft Basic Render Driver") << true;
        QTest::newRow("Intel") << QByteArray("Mesa Intel(R) UHD Graphics 620 (KBL GT2)") << false;
        // Names LLVM too, as its shader compiler, but draws on the card.
        QTest::newRow("AMD radeonsi") << QByteArray("AMD Radeon RX 580 Series (radeonsi, polaris10, LLVM 15.0.6, "
                                                    "DRM 3.49, 6.1.0-13-amd64)")
                                      << false;
        QTest::newRow("NVIDIA") << QByteArray("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2") << false;
        QTest::newRow("virgl") << QByteArray("virgl (Mesa Intel(R) Xe Graphics (TGL GT2))") << false;
    }

    void isSoftwareRenderer()
    {
        QFETCH(QByteArray, renderer);
        QFETCH(bool, software);
        QCOMPARE(IsSoftwareRenderer(renderer), software);
    }

    // The switch that keeps the platform plugin from loading OpenGL is for this process alone:
    // a browser started from a link must not inherit it.
    void platformSwitchIsNotPassedOn()
    {
        QTRY_VERIFY(!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"));
    }

    // A display without a graphics card (Xvfb has none) gets pages drawn in software, and the
    // OpenGL driver, which would draw them on the processor anyway, is never loaded.
    void noOpenGLDriverWithoutGraphicsCard()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display (run under xvfb-run)");
        THttpServer server;
        server.SetPage("/page", "<html><head><title>Drawn</title></head><body><h1>Drawn in software</h1>"
                                "<script>addEventListener('load', () => fetch('/loaded'));</script></body></html>");
        server.SetPage("/loaded", "");
        QTemporaryDir root;
        QProcessEnvironment environment = ProgramEnvironment(root.path());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.remove("QT_XCB_GL_INTEGRATION");
        StoreSitesIn(ConfigFileUnder(root.path()), {"Drawn"}, {server.Url("/page")});
        QProcess program;
        StartProgram(program, environment);
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/loaded") >= 1, 60000);

        QFile maps(QStringLiteral("/proc/%1/maps").arg(program.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        for (const char* driver : {"swrast_dri", "libLLVM", "libGLX_mesa"})
            QVERIFY2(!mapped.contains(driver), driver);

        SendSignal(program, SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
    }
};

ORVANTA_TEST_MAIN(TestRendering)
#include "tst_rendering.moc"
