#include "TestSupport.h"

#include "browser/PermissionDecisions.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QSignalSpy>
#include <csignal>
#include <functional>
#include <memory>

namespace {

// The real program in folders of its own: settings, data and runtime under Root.
class TProgram
{
public:
    TProgram(const QString& root, const QString& binary = qEnvironmentVariable("ORVANTA_BINARY"))
    {
        Process.setProcessEnvironment(ProgramEnvironment(root));
        Process.setProgram(binary);
        Process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    void Start() { Process.start(); }
    void Signal(int signal) { SendSignal(Process, signal); }
    void Unset(const QStringList& names)
    {
        QProcessEnvironment environment = Process.processEnvironment();
        for (const QString& name : names)
            environment.remove(name);
        Process.setProcessEnvironment(environment);
    }
    void Set(const QString& name, const QString& value)
    {
        QProcessEnvironment environment = Process.processEnvironment();
        environment.insert(name, value);
        Process.setProcessEnvironment(environment);
    }
    void ShowOn(const QString& display)
    {
        Set("QT_QPA_PLATFORM", "xcb");
        Set("DISPLAY", display);
    }
    bool Running() const { return Process.state() == QProcess::Running; }

    QProcess Process;
};

// An X display of the test's own, for what only a window system shows (windows, dialogs).
class TXvfb
{
public:
    TXvfb()
    {
        FServer.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        if (FServer.waitForReadyRead(30000))
            Display = ":" + QString::fromLatin1(FServer.readAllStandardOutput()).trimmed();
    }
    ~TXvfb()
    {
        FServer.terminate();
        FServer.waitForFinished(10000);
    }

    // What xdotool says on this display.
    QString Xdotool(const QStringList& arguments) const
    {
        QProcess command;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", Display);
        command.setProcessEnvironment(environment);
        command.start("xdotool", arguments);
        command.waitForFinished(30000);
        return QString::fromLatin1(command.readAllStandardOutput()).trimmed();
    }

    // Whether the one mapped window of a process has the keyboard.
    bool HasFocus(qint64 pid) const
    {
        const QString window = Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)});
        return !window.isEmpty() && !window.contains('\n') && Xdotool({"getwindowfocus"}) == window;
    }

    // A program run with this display; its output.
    QByteArray Run(const QString& program, const QStringList& arguments) const
    {
        QProcess command;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", Display);
        command.setProcessEnvironment(environment);
        command.start(program, arguments);
        command.waitForFinished(30000);
        return command.readAllStandardOutput();
    }

    // The colour at the middle of the one mapped window of a process.
    QColor MiddleOf(qint64 pid) const
    {
        const QString window = Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)});
        const QImage picture = QImage::fromData(Run("import", {"-window", window, "png:-"}), "PNG");
        return picture.isNull() ? QColor() : picture.pixelColor(picture.width() / 2, picture.height() / 2);
    }

    // The mapped top-level windows of a process.
    int VisibleWindowsOf(qint64 pid) const
    {
        return Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts).size();
    }

    QString Display;

private:
    QProcess FServer;
};

int Listening(const QString& root)
{
    return QDir(root + "/xdg_runtime_dir").entryList({"Orvanta-*.socket"}, QDir::System | QDir::Files).size();
}

} // namespace

// The settings file comes to hold `value` in `key`, and still does after the program is killed.
void KeptAfterAKill(TProgram& program, const QString& root, const QString& key, const QString& value)
{
    const auto stored = [&] { return QSettings(ConfigFileUnder(root), QSettings::IniFormat).value(key).toString(); };
    QTRY_VERIFY_WITH_TIMEOUT(stored().contains(value), 20000);
    program.Signal(SIGKILL);
    QVERIFY(program.Process.waitForFinished(30000));
    QVERIFY(stored().contains(value));
}

class TestProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesSettingsAtExitAndReadsThemBack_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("terminate") << SIGTERM;
        QTest::newRow("interrupt") << SIGINT;
        QTest::newRow("hang up") << SIGHUP;
    }
    void writesSettingsAtExitAndReadsThemBack()
    {
        QFETCH(int, signal);
        QTemporaryDir root;
        TProgram first(root.path());
        first.Start();
        QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        first.Signal(signal);
        QVERIFY(first.Process.waitForFinished(30000));
        QCOMPARE(first.Process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.Process.exitCode(), 0);

        QSettings stored(ConfigFileUnder(root.path()), QSettings::IniFormat);
        QCOMPARE(stored.childGroups(), (QStringList{"Forms", "Settings", "Sites"}));
        stored.beginGroup("Settings");
        QCOMPARE(stored.childKeys().size(), 11);
        stored.endGroup();
        QCOMPARE(stored.value("Sites/Titles").toString(), QStringLiteral("New"));
        QCOMPARE(stored.value("Sites/Urls").toString(), QStringLiteral("about:blank"));
        QCOMPARE(stored.value("Forms/frmMainLeft").toString(), QStringLiteral("76"));
        QCOMPARE(stored.value("Forms/frmMainTop").toString(), QStringLiteral("30"));
        QCOMPARE(stored.value("Forms/frmMainWidth").toString(), QStringLiteral("912"));
        QCOMPARE(stored.value("Forms/frmMainHeight").toString(), QStringLiteral("669"));

        stored.setValue("Settings/ViewMode", "4");
        stored.setValue("Forms/frmMainLeft", "140");
        stored.setValue("Forms/frmMainWidth", "700");
        stored.sync();
        TProgram second(root.path());
        second.Start();
        QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        second.Signal(SIGTERM);
        QVERIFY(second.Process.waitForFinished(30000));
        QCOMPARE(second.Process.exitCode(), 0);
        QSettings again(ConfigFileUnder(root.path()), QSettings::IniFormat);
        QCOMPARE(again.value("Settings/ViewMode").toString(), QStringLiteral("4"));
        QCOMPARE(again.value("Forms/frmMainLeft").toString(), QStringLiteral("140"));
        QCOMPARE(again.value("Forms/frmMainWidth").toString(), QStringLiteral("700"));
    }

    void secondCopyLeavesAtOnce()
    {
        QTemporaryDir root;
        QDir().mkpath(root.path() + "/xdg_config_home/Quenbrook");
        QFile config(ConfigFileUnder(root.path()));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Settings]\nViewMode=3\n");
        config.close();

        TProgram first(root.path());
        first.Start();
        QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        TProgram second(root.path());
        QElapsedTimer elapsed;
        elapsed.start();
        second.Start();
        QVERIFY(second.Process.waitForFinished(10000));
        qInfo("The second copy left after %lld ms", elapsed.elapsed());
        QCOMPARE(second.Process.exitCode(), 0);
        QVERIFY(elapsed.elapsed() < 5000);
        QVERIFY(first.Running());
        QVERIFY(config.open(QIODevice::ReadOnly));
        QCOMPARE(config.readAll(), QByteArray("[Settings]\nViewMode=3\n"));
        config.close();
        first.Signal(SIGTERM);
        QVERIFY(first.Process.waitForFinished(30000));
    }

    // The second copy wakes the first: here the test stands in for the first copy.
    void secondCopyWakesTheFirst()
    {
        TSingleInstance first(qEnvironmentVariable("ORVANTA_BINARY"));
        QVERIFY(first.IsFirst());
        QSignalSpy woken(&first, &TSingleInstance::ActivationRequested);
        QTemporaryDir root;
        TProgram second(root.path());
        QProcessEnvironment environment = second.Process.processEnvironment();
        environment.insert("XDG_RUNTIME_DIR", qEnvironmentVariable("XDG_RUNTIME_DIR"));
        second.Process.setProcessEnvironment(environment);
        second.Start();
        QVERIFY(second.Process.waitForFinished(30000));
        QCOMPARE(second.Process.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(woken.count(), 1, 10000);
    }

    void killedCopyDoesNotBlockTheNext()
    {
        QTemporaryDir root;
        TProgram first(root.path());
        first.Start();
        QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        first.Signal(SIGKILL);
        QVERIFY(first.Process.waitForFinished(10000));
        TProgram next(root.path());
        next.Start();
        QTRY_VERIFY_WITH_TIMEOUT(next.Process.state() == QProcess::Running, 10000);
        QVERIFY(!next.Process.waitForFinished(3000));
        next.Signal(SIGTERM);
        QVERIFY(next.Process.waitForFinished(30000));
        QCOMPARE(next.Process.exitCode(), 0);
    }

    void tenCopiesAtOnceLeaveOne()
    {
        QTemporaryDir root;
        std::vector<std::unique_ptr<TProgram>> copies;
        for (int i = 0; i < 10; ++i)
            copies.push_back(std::make_unique<TProgram>(root.path()));
        for (auto& copy : copies)
            copy->Start();
        const auto running = [&copies] {
            int count = 0;
            for (auto& copy : copies)
                count += copy->Running() ? 1 : 0;
            return count;
        };
        QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 60000);
        QCOMPARE(running(), 1);
        for (auto& copy : copies) {
            if (!copy->Running()) {
                QCOMPARE(copy->Process.exitCode(), 0);
                continue;
            }
            copy->Signal(SIGTERM);
            QVERIFY(copy->Process.waitForFinished(30000));
        }
    }

    // The administrator's file for every user: where it stands behind the user's own, where
    // its lock wins, and that a damaged one is passed over. The sites the program loads tell.
    void administratorsSettings_data()
    {
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<bool>("ownSites");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("storedTitles");
        QTest::newRow("a new user gets the administrator's sites") << QByteArray() << false << "/admin" << "Admin";
        QTest::newRow("the user's own sites win") << QByteArray() << true << "/own" << "Own";
        QTest::newRow("a locked list wins") << QByteArray("Locked=true\n") << true << "/admin" << "Own";
        QTest::newRow("a damaged file is passed over") << QByteArray("[Broken\n") << true << "/own" << "Own";
    }
    void administratorsSettings()
    {
        QFETCH(QByteArray, system);
        QFETCH(bool, ownSites);
        QFETCH(QString, loaded);
        THttpServer server;
        server.SetPage("/admin", "<html><head><title>Admin</title></head></html>");
        server.SetPage("/own", "<html><head><title>Own</title></head></html>");
        QTemporaryDir root;
        const QString systemFile = SystemConfigFileUnder(root.path());
        QDir().mkpath(QFileInfo(systemFile).path());
        QFile file(systemFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray content = "[Sites]\nTitles=Admin\nUrls=" + server.Url("/admin").toUtf8() + "\n" + system;
        file.write(content);
        file.close();
        if (ownSites)
            StoreSitesIn(ConfigFileUnder(root.path()), {"Own"}, {server.Url("/own")});

        TProgram program(root.path());
        program.Start();
        // A damaged file is reported in a message box that holds the start until it is closed;
        // ending the program closes it.
        if (system.startsWith("[Broken")) {
            QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(server.Count(loaded) > 0, 60000);
            // The other list's page is never asked for (the engine may ask for an icon).
            QCOMPARE(server.Count(loaded == "/admin" ? "/own" : "/admin"), 0);
        }
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitCode(), 0);

        QSettings stored(ConfigFileUnder(root.path()), QSettings::IniFormat);
        QTEST(stored.value("Sites/Titles").toString(), "storedTitles");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(QDir(QFileInfo(systemFile).path()).entryList(QDir::Files), QStringList{"Orvanta.conf"});
    }

    // Quiet unless asked: nothing on the error output while it starts, loads and ends, with
    // no session bus to offer the remote control on.
    void saysNothingOnItsErrorOutput()
    {
        THttpServer server;
        // A page's own complaints are for its developers, not for the program's output.
        server.SetPage("/a", "<html><head><title>A</title></head><body><script>"
                             "console.log('l'); console.warn('w'); console.error('e');"
                             "setTimeout(() => fetch('/b'), 0); null.fault;</script></body></html>");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"A"}, {server.Url("/a")});
        TProgram program(root.path());
        // No session bus either, as on a bare kiosk session: the remote control stays silent.
        program.Unset({"QT_LOGGING_RULES", "DBUS_SESSION_BUS_ADDRESS"});
        program.Process.setProcessChannelMode(QProcess::SeparateChannels);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/b") > 0, 60000);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.readAllStandardError(), QByteArray());
    }

    // A change is in the settings file within moments, not only at an orderly exit: a program
    // killed (or a power cut) right after a zoom, the setup dialog's OK or a certificate trusted
    // keeps it. The keys are pressed on the display, on a bare X session, where the window
    // takes the keyboard itself.
    void aZoomOutlivesAKill()
    {
        TXvfb display;
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"A"}, {"about:blank"});
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(display.HasFocus(program.Process.processId()), 60000);
        display.Xdotool({"key", "ctrl+plus"});
        KeptAfterAKill(program, root.path(), "Sites/Zooms", "110");
    }

    void aSetupChangeOutlivesAKill()
    {
        TXvfb display;
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"A"}, {"about:blank"});
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        const qint64 pid = program.Process.processId();
        QTRY_VERIFY_WITH_TIMEOUT(display.HasFocus(pid), 60000);
        display.Xdotool({"key", "alt+m"});
        QTRY_COMPARE_WITH_TIMEOUT(display.VisibleWindowsOf(pid), 2, 20000);
        // Setup, the second item on S, and its Sites.
        display.Xdotool({"key", "s", "s", "Right", "s"});
        const auto setup = [&] { return display.Xdotool({"search", "--onlyvisible", "--name", "^Setup$"}); };
        QTRY_VERIFY_WITH_TIMEOUT(!setup().isEmpty() && display.Xdotool({"getwindowfocus"}) == setup(), 20000);
        // From the page tabs into the grid, at the first site's title.
        display.Xdotool({"key", "Tab"});
        display.Xdotool({"type", "renamed"});
        display.Xdotool({"key", "Return", "Return"});
        KeptAfterAKill(program, root.path(), "Sites/Titles", "renamed");
    }

    // The certificate page's button is reached with Tab and pressed with the space bar.
    void aTrustedCertificateOutlivesAKill()
    {
        TXvfb display;
        THttpsServer secure("selfsigned", "127.0.0.5");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Secure"}, {secure.Url()});
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(display.HasFocus(program.Process.processId()), 60000);
        const auto trusted = [&] {
            return QSettings(ConfigFileUnder(root.path()), QSettings::IniFormat).value("Certificates/Trusted").toString().contains(secure.Entry());
        };
        for (int press = 0; press < 8; ++press) {
            display.Xdotool({"key", "Tab", "space"});
            if (QTest::qWaitFor(trusted, 3000))
                break;
        }
        KeptAfterAKill(program, root.path(), "Certificates/Trusted", secure.Entry());
    }

    // Tab goes through the shown page's fields, on to the window's own controls and round into
    // the page again, never into a page that is not shown.
    void tabGoesRoundThePageAndBack()
    {
        TXvfb display;
        THttpServer server;
        server.SetPage("/form", "<html><head><title>Form</title></head><body>"
                                "<input id=a onfocus=\"fetch('/focus-a')\"><input id=b onfocus=\"fetch('/focus-b')\">"
                                "<script>window.onblur = () => fetch('/left');</script>"
                                "</body></html>");
        server.SetPage("/other", "<html><head><title>Other</title></head><body>"
                                 "<input onfocus=\"fetch('/focus-other')\"></body></html>");
        server.SetPage("/focus-a", "");
        server.SetPage("/focus-b", "");
        server.SetPage("/focus-other", "");
        server.SetPage("/left", "");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Form", "Other"}, {server.Url("/form"), server.Url("/other")});
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(display.HasFocus(program.Process.processId()), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/form") == 1 && server.Count("/other") == 1, 30000);
        // Into the page, as someone would start; it may have had the focus already.
        display.Xdotool({"mousemove", "--window", display.Xdotool({"getwindowfocus"}), "400", "300", "click", "1"});
        // Some presses go to the window's own controls; each is given a moment to land.
        const auto tabUntil = [&](const std::function<bool()>& reached) {
            for (int press = 0; press < 8 && !reached(); ++press) {
                display.Xdotool({"key", "Tab"});
                if (QTest::qWaitFor(reached, 2000))
                    break;
            }
            return reached();
        };
        QVERIFY(tabUntil([&] { return server.Count("/focus-a") == 1; }));
        QVERIFY(tabUntil([&] { return server.Count("/focus-b") == 1; }));
        QVERIFY(tabUntil([&] { return server.Count("/left") == 1; }));
        QVERIFY(tabUntil([&] { return server.Count("/focus-a") == 2; }));
        QCOMPARE(server.Count("/focus-other"), 0);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitCode(), 0);
    }

    // Outside the screen's schedule, with no DPMS (Xvfb has none), the window is black; a
    // pointer move turns it on, and then the X server's screen saver is held off, until the exit.
    void aScreenOffIsBlackUntilInputWakesIt()
    {
        TXvfb display;
        THttpServer server;
        server.SetPage("/lime", "<html><body style='background: lime'></body></html>");
        const QString closedDay = QLocale::c().dayName(QDate::currentDate().addDays(3).dayOfWeek(), QLocale::ShortFormat);
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Lime"}, {server.Url("/lime")},
                     {{"ScreenSchedule", closedDay + " 00:00-00:00"}});
        const auto saverTimeout = [&] {
            return QString::fromLatin1(display.Run("xset", {"q"})).section("timeout:", 1).section("cycle", 0, 0).trimmed();
        };
        const QString timeout = saverTimeout();
        QVERIFY(!timeout.isEmpty() && timeout != "0");
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/lime") == 1 && display.VisibleWindowsOf(program.Process.processId()) == 1, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(display.MiddleOf(program.Process.processId()), QColor(Qt::black), 20000);
        QCOMPARE(saverTimeout(), timeout);
        display.Xdotool({"mousemove", "300", "300", "mousemove", "320", "320"});
        QTRY_COMPARE_WITH_TIMEOUT(display.MiddleOf(program.Process.processId()), QColor(Qt::green), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(saverTimeout(), QStringLiteral("0"), 20000);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitCode(), 0);
        QCOMPARE(saverTimeout(), timeout);
    }

#ifdef ORVANTA_HAS_MQTT
    // A screen that drops off without a goodbye is "offline" on the broker at once (its last
    // will), as mosquitto_sub shows it.
    void aKilledScreenIsOfflineOnTheBroker()
    {
        TBroker broker;
        THttpServer server;
        server.SetPage("/lime", "<html><body style='background: lime'></body></html>");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"A"}, {server.Url("/lime")});
        {
            QSettings stored(ConfigFileUnder(root.path()), QSettings::IniFormat);
            stored.setValue("Mqtt/Broker", broker.Url());
            stored.setValue("Mqtt/Name", "wall");
        }
        QProcess watch;
        QByteArray heard;
        connect(&watch, &QProcess::readyReadStandardOutput, &watch, [&] { heard += watch.readAllStandardOutput(); });
        watch.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", QString::number(broker.Port), "-t", "orvanta/wall/availability"});
        QVERIFY(watch.waitForStarted(30000));
        TProgram program(root.path());
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(heard.endsWith("online\n"), 30000);
        // The screenshot holds the page's own pixels.
        const QString port = QString::number(broker.Port);
        QProcess shot;
        shot.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", port, "-C", "1", "-t", "orvanta/wall/screenshot"});
        QVERIFY(shot.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/lime") == 1, 30000);
        QColor middle;
        for (int ask = 0; ask < 20 && middle != QColor(Qt::green); ++ask) {
            QProcess::execute("mosquitto_pub", {"-h", "127.0.0.1", "-p", port, "-t", "orvanta/wall/set/screenshot", "-n"});
            if (!shot.waitForFinished(1000))
                continue;
            const QImage picture = QImage::fromData(shot.readAllStandardOutput().chopped(1), "PNG");
            middle = picture.isNull() ? QColor() : picture.pixelColor(picture.width() / 2, picture.height() / 2);
            if (middle != QColor(Qt::green))
                shot.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", port, "-C", "1", "-t", "orvanta/wall/screenshot"});
        }
        QCOMPARE(middle, QColor(Qt::green));
        program.Signal(SIGKILL);
        QVERIFY(program.Process.waitForFinished(30000));
        QTRY_VERIFY_WITH_TIMEOUT(heard.endsWith("offline\n"), 30000);
        watch.kill();
        watch.waitForFinished(10000);
    }
#endif

    // On a Wayland session the program runs on Wayland itself, not through XWayland: its page
    // loads, and it ends cleanly when asked to.
    void runsNativelyOnWayland()
    {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            QSKIP("Needs a Wayland display (the suite's Weston run).");
        THttpServer server;
        server.SetPage("/a", "<html><head><title>A</title></head><body><script>fetch('/b')</script></body></html>");
        server.SetPage("/b", "");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"A"}, {server.Url("/a")});
        TProgram program(root.path());
        // As a desktop session starts it: nothing names the platform, and there is no X display.
        program.Unset({"QT_QPA_PLATFORM", "DISPLAY"});
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/b") > 0, 60000);
        QFile maps(QStringLiteral("/proc/%1/maps").arg(program.Process.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(maps.readAll().contains("libqwayland"));
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.Process.exitCode(), 0);
    }

    // A page that asks for a window and a dialog every 50 ms, beside another, with the shown
    // site changing every second: the program neither crashes nor shows anything more.
    void aWindowStormCrashesNothing()
    {
        TXvfb display;
        QVERIFY(!display.Display.isEmpty());
        THttpServer server;
        server.SetPage("/calm", "<html><head><title>Calm</title></head></html>");
        server.SetPage("/storm", "<html><head><title>Storm</title></head><body><script>"
                                 "setInterval(() => { window.open('/storm'); alert('storm'); }, 50);"
                                 "</script></body></html>");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Calm", "Storm"}, {server.Url("/calm"), server.Url("/storm")},
                     {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}, {"TimerCyclePause", "0"}});
        TProgram program(root.path());
        program.ShowOn(display.Display);
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/storm") > 0, 60000);
        QElapsedTimer storm;
        storm.start();
        QTRY_VERIFY_WITH_TIMEOUT(!program.Running() || storm.elapsed() > 30000, 40000);
        QVERIFY(program.Running());
        QCOMPARE(display.VisibleWindowsOf(program.Process.processId()), 1);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.Process.exitCode(), 0);
    }

    // A certificate the user trusted is accepted at the next start without asking.
    void aTrustedCertificateLoadsAfterARestart()
    {
        THttpsServer secure("selfsigned", "127.0.0.4");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Secure"}, {secure.Url()});
        QSettings(ConfigFileUnder(root.path()), QSettings::IniFormat).setValue("Certificates/Trusted", "\"" + secure.Entry() + "\"");
        TProgram program(root.path());
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(secure.Requests > 0, 60000);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitCode(), 0);
    }

    // A permission decided before is answered at the next start without asking.
    void aDecidedPermissionIsNotAskedAgain()
    {
        THttpServer server;
        server.SetPage("/ask", "<html><body><script>fetch('/now-' + Notification.permission);"
                               "Notification.requestPermission().then(a => fetch('/' + a));</script></body></html>");
        QTemporaryDir root;
        StoreSitesIn(ConfigFileUnder(root.path()), {"Ask"}, {server.Url("/ask")});
        QSettings(ConfigFileUnder(root.path()), QSettings::IniFormat)
            .setValue("Permissions/Decisions", "\"" + TPermissionDecisions::OriginOf(QUrl(server.Url("/"))) + " notifications allow\"");
        TProgram program(root.path());
        program.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/granted") > 0, 60000);
        QCOMPARE(server.Count("/now-granted"), 1);
        program.Signal(SIGTERM);
        QVERIFY(program.Process.waitForFinished(30000));
        QCOMPARE(program.Process.exitCode(), 0);

        // Taken back out of the settings, it lives on nowhere (the engine keeps no record of
        // its own): the site is asked again.
        QSettings(ConfigFileUnder(root.path()), QSettings::IniFormat).remove("Permissions/Decisions");
        TProgram again(root.path());
        again.Start();
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/now-default") > 0, 60000);
        again.Signal(SIGTERM);
        QVERIFY(again.Process.waitForFinished(30000));
        QCOMPARE(server.Count("/granted"), 1);
    }

    void sameProgramFileInAnyLetterCase_data()
    {
        QTest::addColumn<QString>("firstPath");
        QTest::addColumn<QString>("secondPath");
        QTest::addColumn<bool>("secondRuns");
        QTest::newRow("other letter case") << "bin/orvanta" << "BIN/ORVANTA" << false;
        QTest::newRow("other folder") << "bin/orvanta" << "other/orvanta" << true;
    }
    void sameProgramFileInAnyLetterCase()
    {
        QFETCH(QString, firstPath);
        QFETCH(QString, secondPath);
        QFETCH(bool, secondRuns);
        QTemporaryDir root;
        for (const QString& path : {firstPath, secondPath}) {
            const QString target = root.filePath(path);
            QDir().mkpath(QFileInfo(target).path());
            QVERIFY(QFile::copy(qEnvironmentVariable("ORVANTA_BINARY"), target));
        }
        TProgram first(root.path(), root.filePath(firstPath));
        first.Start();
        QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 1, 30000);
        TProgram second(root.path(), root.filePath(secondPath));
        second.Start();
        if (secondRuns) {
            QTRY_COMPARE_WITH_TIMEOUT(Listening(root.path()), 2, 30000);
            QVERIFY(second.Running());
            second.Signal(SIGTERM);
            QVERIFY(second.Process.waitForFinished(30000));
        } else {
            QVERIFY(second.Process.waitForFinished(10000));
        }
        QCOMPARE(second.Process.exitCode(), 0);
        QVERIFY(first.Running());
        first.Signal(SIGTERM);
        QVERIFY(first.Process.waitForFinished(30000));
        QCOMPARE(first.Process.exitCode(), 0);
    }
};

ORVANTA_TEST_MAIN(TestProcess)
#include "tst_process.moc"
