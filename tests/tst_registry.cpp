#include "TestSupport.h"

#include "browser/CertificateTrust.h"
#include "controllers/ControllerRegistry.h"
#include "shared/LibCommaText.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <memory>

class TestRegistry : public QObject
{
    Q_OBJECT

    QSettings Stored() { return QSettings(ConfigFile(), QSettings::IniFormat); }

private Q_SLOTS:
    void init() { RemoveConfig(); }

    void defaultsWithoutKey()
    {
        TMessageLog log;
        {
            TCRegistry store;
            QCOMPARE(store.ViewMode, 2);
            QCOMPARE(store.ProgressBar, 2);
            QCOMPARE(store.AddressBar, 1);
            QVERIFY(store.HintProgressBar);
            QVERIFY(store.HintBrowserSelection);
            QVERIFY(!store.TimerRefreshEnabled);
            QVERIFY(!store.TimerCycleEnabled);
            QCOMPARE(store.TimerRefreshInterval, 120);
            QCOMPARE(store.TimerCycleInterval, 10);
            QCOMPARE(store.Titles, QStringList{"New"});
            QCOMPARE(store.Urls, QStringList{"about:blank"});
            QCOMPARE(store.SiteCount(), 1);
            QCOMPARE(store.GetKeyPath(), QStringLiteral("\\Software\\Quenbrook\\Orvanta"));
            QVERIFY(QFileInfo(ConfigFolder()).isDir());
        }
        QVERIFY(log.Messages.isEmpty());
        QSettings stored = Stored();
        QCOMPARE(stored.childGroups(), (QStringList{"Settings", "Sites"}));
        QCOMPARE(stored.value("Settings/ViewMode").toString(), QStringLiteral("2"));
        QCOMPARE(stored.value("Settings/HintProgressBar").toString(), QStringLiteral("1"));
        QCOMPARE(stored.value("Settings/TimerRefreshEnabled").toString(), QStringLiteral("0"));
        QCOMPARE(stored.value("Sites/Titles").toString(), QStringLiteral("New"));
        QCOMPARE(stored.value("Sites/Urls").toString(), QStringLiteral("about:blank"));
    }

    void readsStoredText_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<bool>("hintProgressBar");
        QTest::addColumn<int>("refreshInterval");
        QTest::newRow("stored values") << QByteArray("ViewMode=4\nHintProgressBar=0\nTimerRefreshInterval=30") << 4 << false << 30;
        QTest::newRow("not a number takes the default") << QByteArray("ViewMode=abc\nTimerRefreshInterval=1.5") << 2 << true << 120;
        QTest::newRow("any other number is true") << QByteArray("HintProgressBar=5\nTimerCycleEnabled=-3") << 2 << true << 120;
        QTest::newRow("boolean text takes the default") << QByteArray("HintProgressBar=x\nTimerCycleEnabled=yes") << 2 << true << 120;
        QTest::newRow("negative and zero kept") << QByteArray("ViewMode=-1\nTimerRefreshInterval=0") << -1 << true << 0;
        QTest::newRow("empty value is no number") << QByteArray("ViewMode=\nTimerRefreshInterval=-7") << 2 << true << -7;
        QTest::newRow("value of another type") << QByteArray("ViewMode=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x3)") << 2 << true << 120;
        QTest::newRow("list value") << QByteArray("ViewMode=3, 4") << 2 << true << 120;
    }
    void readsStoredText()
    {
        QFETCH(QByteArray, settings);
        WriteConfig("[Settings]\n" + settings + "\n");
        TCRegistry store;
        QTEST(store.ViewMode, "viewMode");
        QTEST(store.HintProgressBar, "hintProgressBar");
        QTEST(store.TimerRefreshInterval, "refreshInterval");
        // A field whose default is false tells a number from text.
        QCOMPARE(store.TimerCycleEnabled, QByteArray(QTest::currentDataTag()) == "any other number is true");
    }

    void readsSiteLists_data()
    {
        QTest::addColumn<QByteArray>("sites");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("urls");
        QTest::newRow("quoted titles") << QByteArray("Titles=\"\\\"My Site\\\",Mail,\\\"A, B\\\"\"\nUrls=\"a,b,c\"")
                                       << QStringList{"My Site", "Mail", "A, B"} << QStringList{"a", "b", "c"};
        QTest::newRow("unquoted space splits") << QByteArray("Titles=New Site\nUrls=\"a b\"") << QStringList{"New", "Site"}
                                               << QStringList{"a", "b"};
        QTest::newRow("empty values are empty lists") << QByteArray("Titles=\nUrls=") << QStringList{} << QStringList{};
        QTest::newRow("one empty title") << QByteArray("Titles=\"\\\"\\\"\"\nUrls=x") << QStringList{""} << QStringList{"x"};
        // Nothing written by hand is lost: an unquoted title with a space pairs by its commas, and
        // the entries of lists that still don't pair stay in the file, and are told.
        QTest::newRow("unquoted space in a title") << QByteArray("Titles=\"My Mail,Alerts\"\nUrls=\"a,b\"")
                                                   << QStringList{"My Mail", "Alerts"} << QStringList{"a", "b"};
        QTest::newRow("more titles kept, and told") << QByteArray("Titles=\"a,b,c\"\nUrls=\"1,2\"")
                                                    << QStringList{"a", "b"} << QStringList{"1", "2"};
        QTest::newRow("more addresses kept, and told") << QByteArray("Titles=a\nUrls=\"1,2\"") << QStringList{"a"}
                                                       << QStringList{"1"};
        QTest::newRow("list of another type") << QByteArray("Titles=My Mail, Alerts\nUrls=c,d")
                                              << QStringList{"My Mail", "Alerts"} << QStringList{"c", "d"};
    }
    void readsSiteLists()
    {
        QFETCH(QByteArray, sites);
        WriteConfig("[Sites]\n" + sites + "\n");
        const TStandardError error;
        {
            TCRegistry store;
            QTEST(store.Titles, "titles");
            QTEST(store.Urls, "urls");
        }
        const bool told = QByteArray(QTest::currentDataTag()).contains("told");
        QCOMPARE(error.Text().contains(ConfigFile() + ", [Sites] has "), told);
    }

    // The entries left over go back into the file as they were, after the sites.
    void unpairedEntriesStayInTheFile()
    {
        WriteConfig("[Sites]\nTitles=\"a,b,c\"\nUrls=\"1,2\"\n");
        const TStandardError quiet;
        {
            TCRegistry store;
            store.AddSite("d", "4");
        }
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Sites/Titles").toString(), QStringLiteral("a,b,d,c"));
        QCOMPARE(stored.value("Sites/Urls").toString(), QStringLiteral("1,2,4"));
    }

    // Per-site values follow the site list: padded, cut, and a bad entry reads as empty.
    void readsPerSiteValues_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("cycleTimes");
        QTest::addColumn<QStringList>("zooms");
        QTest::addColumn<QList<int>>("cycleSeconds");
        QTest::newRow("missing") << QByteArray() << QStringList{"", "", ""} << QStringList{"", "", ""}
                                 << QList<int>{10, 10, 10};
        QTest::newRow("short lists padded") << QByteArray("CycleTimes=5\nZooms=150") << QStringList{"5", "", ""}
                                            << QStringList{"150", "", ""} << QList<int>{5, 10, 10};
        QTest::newRow("long lists cut") << QByteArray("CycleTimes=\"1,2,3,4\"\nZooms=\"90,,,110\"")
                                        << QStringList{"1", "2", "3"} << QStringList{"90", "", ""} << QList<int>{1, 2, 3};
        QTest::newRow("bad entries empty") << QByteArray("CycleTimes=\"abc,-5,0\"\nZooms=\"10,501,x\"")
                                           << QStringList{"", "", "0"} << QStringList{"", "", ""}
                                           << QList<int>{10, 10, -1};
    }
    void readsPerSiteValues()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QList<int>, cycleSeconds);
        WriteConfig("[Sites]\nTitles=\"a,b,c\"\nUrls=\"1,2,3\"\n" + stored + "\n");
        TCRegistry store;
        QTEST(store.CycleTimes, "cycleTimes");
        QTEST(store.Zooms, "zooms");
        QCOMPARE(store.RefreshTimes, (QStringList{"", "", ""}));
        for (int site = 0; site < 3; ++site)
            QCOMPARE(store.CycleTime(site).value_or(-1), cycleSeconds.at(site));
    }

    // Trusted certificates: a malformed entry trusts nothing and the rest holds; an entry
    // written without the quotes comma text wants is read whole.
    void readsTrustedCertificates_data()
    {
        const QString a(64, QLatin1Char('A'));
        const QString b(64, QLatin1Char('b'));
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("trusted");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("quoted") << QByteArray("\"\\\"h:1 " + a.toLatin1() + "\\\",\\\"g:2 " + b.toLatin1() + "\\\"\"")
                                << QStringList{"h:1", "g:2"} << QStringList{"h:1 " + a, "g:2 " + b};
        QTest::newRow("unquoted") << QByteArray("\"h:1 " + a.toLatin1() + ",g:2 " + b.toLatin1() + "\"")
                                  << QStringList{"h:1", "g:2"} << QStringList{"h:1 " + a, "g:2 " + b};
        QTest::newRow("a malformed entry among good ones")
            << QByteArray("\"h:1 " + a.toLatin1() + ",h:x " + b.toLatin1() + ",g:2 ABC,g:3 " + b.toLatin1() + "\"")
            << QStringList{"h:1", "g:3"} << QStringList{"h:1 " + a, "h:x", b, "g:2", "ABC", "g:3 " + b};
    }
    void readsTrustedCertificates()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, trusted);
        WriteConfig("[Certificates]\nTrusted=" + stored + "\n");
        TCRegistry store;
        QTEST(store.TrustedCertificates, "entries");
        const TCertificateTrust trust(store.TrustedCertificates, store.CertificatesLocked());
        for (const QString& address : {"h:1", "h:2", "g:2", "g:3"}) {
            const bool expected = trusted.contains(address);
            QCOMPARE(trust.TrustedFingerprint(QUrl("https://" + address + "/")).has_value(), expected);
        }
    }

    // The administrator's file stands behind the user's; a locked section stands alone and
    // the user's own values are kept, unwritten, for the day the lock is lifted.
    void administratorsSettings_data()
    {
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<QByteArray>("own");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<QString>("storedTitles");
        QTest::addColumn<QString>("storedViewMode");
        QTest::addColumn<int>("notices");
        const QByteArray admin = "[Settings]\nViewMode=4\n[Sites]\nTitles=\"A,B\"\nUrls=\"a,b\"\n";
        const QByteArray own = "[Settings]\nViewMode=3\n[Sites]\nTitles=Own\nUrls=own\n";
        QTest::newRow("a new user gets the administrator's") << admin << QByteArray() << QStringList{"A", "B"} << 4
                                                             << "Changed" << "1" << 0;
        QTest::newRow("own settings win") << admin << own << QStringList{"Own"} << 3 << "Changed" << "1" << 0;
        QTest::newRow("locked sites win") << admin + "Locked=true\n" << own << QStringList{"A", "B"} << 3 << "Own"
                                          << "1" << 0;
        QTest::newRow("locked settings win")
            << QByteArray("[Settings]\nViewMode=4\nLocked=1\n[Sites]\nTitles=A\nUrls=a\n") << own
            << QStringList{"Own"} << 4 << "Changed" << "3" << 0;
        QTest::newRow("a lock in the own file counts for nothing") << admin << own + "Locked=true\n"
                                                                   << QStringList{"Own"} << 3 << "Changed" << "1" << 0;
        QTest::newRow("damaged file reported and ignored") << QByteArray("[Sites\nTitles=A\nUrls=a\n") << own
                                                           << QStringList{"Own"} << 3 << "Changed" << "1" << 1;
    }
    void administratorsSettings()
    {
        QFETCH(QByteArray, system);
        QFETCH(QByteArray, own);
        WriteSystemConfig(system);
        QFile file(SystemConfigFile());
        if (!own.isEmpty())
            WriteConfig(own);
        TMessageLog log;
        {
            TCRegistry store;
            QTEST(store.Titles, "titles");
            QTEST(store.ViewMode, "viewMode");
            store.Titles = QStringList{"Changed"};
            store.Urls = QStringList{"changed"};
            store.ViewMode = 1;
        }
        QTEST(int(log.Messages.size()), "notices");
        if (!log.Messages.isEmpty()) {
            QCOMPARE(log.Messages.first().Caption, QStringLiteral("Orvanta"));
            QCOMPARE(log.Messages.first().Icon, TMessageIcon::NoIcon);
            QVERIFY(log.Messages.first().Text.startsWith("The administrator's settings can't be read."));
        }
        QSettings stored = Stored();
        QTEST(stored.value("Sites/Titles").toString(), "storedTitles");
        QTEST(stored.value("Settings/ViewMode").toString(), "storedViewMode");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), system);
        file.close();
        QCOMPARE(QDir(QFileInfo(SystemConfigFile()).path()).entryList(QDir::Files), QStringList{"Orvanta.conf"});
    }

    void writesWhatItReadsBack()
    {
        const QStringList titles{"A title, with \"quotes\"", " ", "", "Plain"};
        const QStringList urls{"http://127.0.0.1/a b", "about:blank", "x", "y"};
        {
            TCRegistry store;
            store.ViewMode = 5;
            store.AddressBar = -3;
            store.HintBrowserSelection = false;
            store.TimerCycleEnabled = true;
            store.TimerCycleInterval = 0;
            store.Titles = titles;
            store.Urls = urls;
        }
        TCRegistry store;
        QCOMPARE(store.ViewMode, 5);
        QCOMPARE(store.AddressBar, -3);
        QVERIFY(!store.HintBrowserSelection);
        QVERIFY(store.TimerCycleEnabled);
        QCOMPARE(store.TimerCycleInterval, 0);
        QCOMPARE(store.Titles, titles);
        QCOMPARE(store.Urls, urls);
    }

    void keyThatCannotBeOpened()
    {
        QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
        QFile blocker(ConfigFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TMessageLog log;
        {
            TCRegistry store;
            QCOMPARE(store.Titles, QStringList{"New"});
            QCOMPARE(store.ViewMode, 2);
            store.ViewMode = 4;
        }
        QCOMPARE(log.Texts(), QStringList{"Error reading Windows Registry."});
        QCOMPARE(log.Messages.first().Caption, QStringLiteral("Orvanta"));
        QCOMPARE(log.Messages.first().Icon, TMessageIcon::NoIcon);
        QVERIFY(QFileInfo(ConfigFolder()).isFile());
        QCOMPARE(QFileInfo(ConfigFolder()).size(), 0);
    }

    // A damaged file is kept aside, named so and when, and never written over; the new work goes
    // to a new file as usual, and the user is told where the old one lies.
    void fileThatCannotBeParsed()
    {
        const QByteArray broken("[Settings]\nViewMode=4\nTimerCycleInt");
        WriteConfig(broken);
        TMessageLog log;
        {
            TCRegistry store;
            QCOMPARE(store.ViewMode, 2);
            store.ViewMode = 5;
        }
        const QStringList aside = QDir(ConfigFolder()).entryList({"Orvanta.conf.damaged-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QFile kept(ConfigFolder() + "/" + aside.first());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), broken);
        QCOMPARE(QSettings(ConfigFile(), QSettings::IniFormat).value("Settings/ViewMode").toString(), QStringLiteral("5"));
        QCOMPARE(log.Messages.size(), 1);
        QVERIFY(log.Messages.first().Text.contains(ConfigFile()));
        QVERIFY(log.Messages.first().Text.contains(kept.fileName()));
    }

    void writeFailures_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("section missing") << QByteArray() << "Failed to create key Settings";
        QTest::newRow("section present") << QByteArray("[Settings]\nViewMode=3\n") << "Failed to set data for 'ViewMode'";
    }
    void writeFailures()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, message);
        if (!stored.isEmpty())
            WriteConfig(stored);
        TMessageLog log;
        {
            auto store = std::make_unique<TCRegistry>();
            // The folder turns into a file while the program runs: nothing can be stored.
            QVERIFY(QDir(ConfigFolder()).removeRecursively());
            QFile blocker(ConfigFolder());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        QCOMPARE(log.Texts(), QStringList{message});
    }

    void placements_data()
    {
        QTest::addColumn<bool>("sizeable");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("sizeable, normal") << true << Qt::WindowNoState
                                          << QStringList{"frmTestHeight", "frmTestLeft", "frmTestTop", "frmTestWidth"};
        QTest::newRow("fixed border, normal") << false << Qt::WindowNoState << QStringList{"frmTestLeft", "frmTestTop"};
        QTest::newRow("maximized stores nothing") << true << Qt::WindowMaximized << QStringList{};
        QTest::newRow("minimized stores nothing") << true << Qt::WindowMinimized << QStringList{};
    }
    void placements()
    {
        QFETCH(bool, sizeable);
        QFETCH(Qt::WindowState, state);
        QFETCH(QStringList, stored);
        TCRegistry store;
        QDialog form;
        form.setObjectName("frmTest");
        form.move(41, 52);
        if (sizeable)
            form.resize(300, 200);
        else
            form.setFixedSize(300, 200);
        form.setWindowState(state);
        store.WriteFormPlacement(&form);
        QSettings settings = Stored();
        settings.beginGroup("Forms");
        QCOMPARE(settings.childKeys(), stored);
        if (stored.isEmpty())
            return;
        QCOMPARE(settings.value("frmTestTop").toString(), QStringLiteral("52"));
        QCOMPARE(settings.value("frmTestLeft").toString(), QStringLiteral("41"));

        QDialog again;
        again.setObjectName("frmTest");
        if (sizeable)
            again.resize(10, 10);
        else
            again.setFixedSize(300, 200);
        store.ReadFormPlacement(&again);
        QCOMPARE(again.pos(), QPoint(41, 52));
        QCOMPARE(again.size(), QSize(300, 200));
    }

    void placementDefaultsToTheCurrentOne()
    {
        TCRegistry store;
        QDialog form;
        form.setObjectName("frmOther");
        form.move(7, 8);
        form.resize(123, 45);
        store.ReadFormPlacement(&form);
        QCOMPARE(form.pos(), QPoint(7, 8));
        QCOMPARE(form.size(), QSize(123, 45));
    }
};

ORVANTA_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
