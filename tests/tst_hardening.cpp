#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <csignal>

namespace {

QByteArray ReadFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& name, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

bool Listening(const QString& root)
{
    return !QDir(root + "/xdg_runtime_dir").entryList({"Orvanta-*.socket"}, QDir::System | QDir::Files).isEmpty();
}

// A settings file as the program writes it at exit: every value of every section.
bool Complete(const QString& name)
{
    QSettings stored(name, QSettings::IniFormat);
    if (stored.status() != QSettings::NoError)
        return false;
    const auto count = [&stored](const char* group) {
        stored.beginGroup(group);
        const auto keys = stored.childKeys().size();
        stored.endGroup();
        return keys;
    };
    return count("Settings") == 11 && count("Sites") == 10 && count("Forms") == 4;
}

QByteArray OldSettings()
{
    return "[Settings]\nViewMode=3\n\n[Sites]\nTitles=Old\nUrls=about:blank\n";
}

} // namespace

class TestHardening : public QObject
{
    Q_OBJECT

    QProcess* Start(const QString& root)
    {
        auto* program = new QProcess(this);
        StartProgram(*program, ProgramEnvironment(root));
        return program;
    }

private Q_SLOTS:
    void damagedSettings_data()
    {
        // What becomes of the file: left as it was, written whole, or kept aside (a file that
        // can't be read) with a whole new one in its place.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("random bytes") << "random" << "aside";
        QTest::newRow("truncated mid-line") << "truncated" << "aside";
        QTest::newRow("every value of another type") << "types" << "whole";
        QTest::newRow("10 MB of titles") << "huge" << "whole";
        QTest::newRow("lists of different lengths") << "unequal" << "whole";
        QTest::newRow("unreadable file") << "unreadable" << "untouched";
        QTest::newRow("unwritable folder") << "unwritable" << "untouched";
    }
    void damagedSettings()
    {
        QFETCH(QString, kind);
        QFETCH(QString, outcome);
        QTemporaryDir root;
        ProgramEnvironment(root.path());
        const QString config = ConfigFileUnder(root.path());
        if (kind == "random") {
            QByteArray bytes(4096, Qt::Uninitialized);
            QRandomGenerator random(20261208);
            for (char& byte : bytes)
                byte = char(random.bounded(256));
            WriteFile(config, bytes);
        } else if (kind == "truncated") {
            WriteFile(config, "[Settings]\nViewMode=4\nProgressBar=1\nTimerCycleInt");
        } else if (kind == "types") {
            WriteFile(config, "[Settings]\nViewMode=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x3)\nProgressBar=1, 2\n"
                              "[Sites]\nTitles=a, b\nUrls=@ByteArray(x)\n");
        } else if (kind == "huge") {
            WriteFile(config, "[Sites]\nTitles=\"" + QByteArray("a,").repeated(5 * 1024 * 1024) + "\"\nUrls=about:blank\n");
        } else if (kind == "unequal") {
            WriteFile(config, "[Sites]\nTitles=\"A,B,C\"\nUrls=about:blank\n");
        } else if (kind == "unreadable") {
            QVERIFY(QDir().mkpath(config));
        } else {
            WriteFile(QFileInfo(config).path() + ".tmp", "");
            QVERIFY(QFile::rename(QFileInfo(config).path() + ".tmp", QFileInfo(config).path()));
        }
        const QString watched = kind == "unwritable" ? QFileInfo(config).path() : config;
        const QByteArray before = ReadFile(watched);

        QProcess* program = Start(root.path());
        QTRY_VERIFY_WITH_TIMEOUT(Listening(root.path()), 30000);
        // The window, or the message about the store, is up: ask the program to end.
        QTRY_VERIFY_WITH_TIMEOUT(program->state() == QProcess::Running, 30000);
        QTest::qWait(1500);
        SendSignal(*program, SIGTERM);
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        if (outcome == "untouched") {
            QCOMPARE(ReadFile(watched), before);
            QVERIFY(QFileInfo(config).isDir() || QFileInfo(watched).isFile());
        } else {
            QVERIFY(Complete(config));
        }
        if (outcome == "aside") {
            const QFileInfoList aside = QFileInfo(config).dir().entryInfoList({"Orvanta.conf.damaged-*"}, QDir::Files);
            QCOMPARE(aside.size(), 1);
            QCOMPARE(ReadFile(aside.first().filePath()), before);
        }
        if (kind == "unequal")
            QCOMPARE(QSettings(config, QSettings::IniFormat).value("Sites/Titles").toString(), QStringLiteral("A,B,C"));
    }

    // A page that allocates memory until its renderer dies comes back, again and again, and
    // the program lives. The test gives the renderer a small script heap so that it dies soon.
    void aPageThatEatsMemory()
    {
        THttpServer server;
        server.SetPage("/hog", "<html><head><title>Hog</title></head><body><script>"
                               "const all = []; for (;;) all.push(new Array(1000000).fill(Math.random()));"
                               "</script></body></html>");
        QTemporaryDir root;
        QProcessEnvironment environment = ProgramEnvironment(root.path());
        environment.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--js-flags=--max-old-space-size=64");
        StoreSitesIn(ConfigFileUnder(root.path()), {"Hog"}, {server.Url("/hog")});
        QProcess program;
        StartProgram(program, environment);
        QTRY_VERIFY_WITH_TIMEOUT(server.Count("/hog") >= 3, 120000);
        QCOMPARE(program.state(), QProcess::Running);
        SendSignal(program, SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
    }

    // Killed at any moment, the program leaves the settings file it found or a complete new
    // one, never a broken one, and the next start runs.
    void hardKills()
    {
        QTemporaryDir root;
        ProgramEnvironment(root.path());
        const QString config = ConfigFileUnder(root.path());
        WriteFile(config, OldSettings());
        QRandomGenerator random(42);
        int newFiles = 0;
        for (int round = 0; round < 50; ++round) {
            const QByteArray before = ReadFile(config);
            QProcess* program = Start(root.path());
            QVERIFY(program->waitForStarted(10000));
            QTest::qWait(int(random.bounded(1500)));
            if (round % 2 == 1) {
                SendSignal(*program, SIGTERM);
                QTest::qWait(int(random.bounded(600)));
            }
            SendSignal(*program, SIGKILL);
            program->waitForFinished(30000);
            QVERIFY2(program->state() == QProcess::NotRunning, qPrintable(QStringLiteral("round %1").arg(round)));
            const QByteArray after = ReadFile(config);
            QVERIFY2(after == before || Complete(config), qPrintable(QStringLiteral("round %1").arg(round)));
            newFiles += after != before ? 1 : 0;
            delete program;
        }
        qInfo("%d of 50 killed runs changed the settings file", newFiles);
        QProcess* last = Start(root.path());
        QTRY_VERIFY_WITH_TIMEOUT(Listening(root.path()), 30000);
        QTest::qWait(500);
        SendSignal(*last, SIGTERM);
        QVERIFY(last->waitForFinished(30000));
        QCOMPARE(last->exitCode(), 0);
        QVERIFY(Complete(config));
    }
};

ORVANTA_TEST_MAIN(TestHardening)
#include "tst_hardening.moc"
