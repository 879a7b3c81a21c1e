#include "ControllerFixture.h"

#include "platform/AlignLayout.h"
#include "platform/FileDialog.h"
#include "shared/KestException.h"
#include "platform/RadioGroup.h"
#include "platform/SpinEdit.h"
#include "views/ViewSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QFile>
#include <QTimer>
#include <functional>

namespace {

void StoreSites3(const QMap<QString, QString>& settings = {})
{
    StoreSites({"One", "", "Three"}, {"http://one/", "http://two/", "http://three/"}, settings);
}

QStringList GridColumn(TfrmSetup* dialog, int column)
{
    QStringList texts;
    for (int row = 0; row < dialog->sgSites->rowCount(); ++row)
        texts.append(dialog->CellText(row, column));
    return texts;
}

} // namespace

class TestSetup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        RemoveConfig();
        TFakeWebBrowser::Journal().clear();
        TFakeWebBrowser::FailNewPages() = false;
    }

    void opensOnThePageOfTheItem_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("page");
        QTest::newRow("sites") << "SetupSitesMenuItem" << "TabSheet1";
        QTest::newRow("display") << "SetupOptionsMenuItem" << "TabSheet2";
#ifdef ORVANTA_HAS_MQTT
        QTest::newRow("remote") << "SetupRemoteMenuItem" << "TabSheet3";
#endif
    }
    void opensOnThePageOfTheItem()
    {
        QFETCH(QString, item);
        StoreSites3({{"TimerRefreshInterval", "-4"}, {"TimerCycleEnabled", "1"}});
        TMain main;
        RunSetup(main, main.Form()->findChild<QAction*>(item), [&](TfrmSetup* dialog) {
            QTEST(dialog->PageControl1->currentWidget()->objectName(), "page");
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Setup"));
            QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(!main->Timer->isActive());
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(0)->text(), QStringLiteral("Title"));
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(1)->text(), QStringLiteral("Address (url)"));
            QCOMPARE(GridColumn(dialog, 0), (QStringList{"One", " ", "Three"}));
            QCOMPARE(GridColumn(dialog, 1), (QStringList{"http://one/", "http://two/", "http://three/"}));
            QCOMPARE(dialog->rgViewmode->ItemIndex(), 2);
            QCOMPARE(dialog->rgAddressBar->ItemIndex(), 1);
            QCOMPARE(dialog->rgProgressbar->ItemIndex(), 2);
            QVERIFY(dialog->cbTimerCycle->isChecked());
            QVERIFY(!dialog->cbTimerRefresh->isChecked());
            QCOMPARE(dialog->edtTimerRefresh->Value(), -4);
            QCOMPARE(dialog->edtTimerCycle->Value(), 10);
            const QRect screen = dialog->screen()->availableGeometry();
            QVERIFY(qAbs(dialog->frameGeometry().center().x() - screen.center().x()) <= 1);
        });
        QVERIFY(main->Timer->isActive());
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        stored.beginGroup("Forms");
        // The size the user gave it is kept too.
        QCOMPARE(stored.childKeys(), (QStringList{"frmSetupHeight", "frmSetupLeft", "frmSetupTop", "frmSetupWidth"}));
    }

    // With no site list, the welcome page shows the way to the setup dialog's sites; once a
    // site is added it is gone, at the next start too.
    void aFirstStartShowsTheWay()
    {
        TMain main;
        main.Form()->show();
        auto* welcome = main.Form()->findChild<QWidget*>("WelcomePage");
        QVERIFY(welcome && welcome->isVisible());
        QCOMPARE(welcome->size(), main.Page(0)->size());
        // Enter alone leads the way.
        QTRY_COMPARE(QApplication::focusWidget(), welcome->findChild<QPushButton*>("btnAddSite"));
        RunSetupFrom([&] { welcome->findChild<QPushButton*>("btnAddSite")->click(); }, [](TfrmSetup* dialog) {
            QCOMPARE(dialog->PageControl1->currentWidget(), dialog->TabSheet1);
            dialog->SetSite(0, {"Weather", "http://weather/", {}, {}, {}, {}, {}});
            dialog->btnOk->click();
        });
        QVERIFY(!main.Form()->findChild<QWidget*>("WelcomePage"));
        main.Free();
        TMain again;
        QVERIFY(!again.Form()->findChild<QWidget*>("WelcomePage"));
        QCOMPARE(again.Settings()->Titles, QStringList{"Weather"});
    }

    // A site's style goes on its page: CSS as written, or a .css file's; a file that can't
    // be read is marked in the grid and puts nothing on; a change applies without a rebuild.
    void aSiteStyleGoesOnItsPage()
    {
        QTemporaryDir folder;
        QFile css(folder.filePath("wall.css"));
        QVERIFY(css.open(QIODevice::WriteOnly));
        css.write("nav { display: none }");
        css.close();
        StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"});
        QSettings(ConfigFile(), QSettings::IniFormat)
            .setValue("Sites/Styles", QString("\"header { display: none }\",%1,%2").arg(css.fileName(), folder.filePath("gone.css")));
        TMain main;
        QCOMPARE(main.Page(0)->StyleSheet, QStringLiteral("header { display: none }"));
        QCOMPARE(main.Page(1)->StyleSheet, QStringLiteral("nav { display: none }"));
        QCOMPARE(main.Page(2)->StyleSheet, QString());
        TWebBrowser* first = main.Page(0);
        RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) {
            QCOMPARE(dialog->sgSites->item(2, TfrmSetup::StyleColumn)->foreground().color(), QColor(Qt::red));
            QVERIFY(dialog->sgSites->item(1, TfrmSetup::StyleColumn)->foreground().color() != QColor(Qt::red));
            dialog->sgSites->item(0, TfrmSetup::StyleColumn)->setText("footer { display: none }");
            dialog->btnOk->click();
        });
        QCOMPARE(main.Page(0), first);
        QCOMPARE(main.Page(0)->StyleSheet, QStringLiteral("footer { display: none }"));
    }

    void okWithoutChangesRebuildsNothing()
    {
        StoreSites({"One", "Two"}, {"http://one/", "http://two/"}, {{"TimerRefreshEnabled", "1"}});
        TMain main;
        TFakeWebBrowser* first = main.Page(0);
        main.Form()->pnlAddressBar->hide();
        RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) { dialog->btnOk->click(); });
        QCOMPARE(main.Page(0), first);
        QVERIFY(!TFakeWebBrowser::Journal().join('\n').contains("destroyed"));
        QVERIFY(!main.Form()->pnlAddressBar->isHidden());
        QVERIFY(main->Timer->isActive());
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", "Two"}));
    }

    void anEmptyTitleComesBackAsASpace()
    {
        StoreSites3();
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) { dialog->btnOk->click(); });
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", " ", "Three"}));
    }

    void changesThatRebuild_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("rebuilt");
        QTest::newRow("view mode") << "view mode" << true;
        QTest::newRow("order") << "order" << true;
        QTest::newRow("address") << "address" << true;
        QTest::newRow("progress bar only") << "progress bar" << false;
        QTest::newRow("timers only") << "timers" << false;
    }
    void changesThatRebuild()
    {
        QFETCH(QString, change);
        StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"});
        TMain main;
        // Watched, not compared by address: a new page may be given the freed one's memory.
        const QPointer<TFakeWebBrowser> first = main.Page(0);
        RunSetup(main, main.Form()->SetupOptionsMenuItem, [&](TfrmSetup* dialog) {
            if (change == "view mode")
                dialog->rgViewmode->SetItemIndex(4);
            else if (change == "order")
                dialog->btDownClick();
            else if (change == "address")
                dialog->sgSites->item(2, 1)->setText("http://elsewhere/");
            else if (change == "progress bar")
                dialog->rgProgressbar->SetItemIndex(1);
            else
                dialog->cbTimerCycle->setChecked(true);
            dialog->btnOk->click();
        });
        QTEST(TFakeWebBrowser::Journal().join('\n').contains("destroyed"), "rebuilt");
        QFETCH(bool, rebuilt);
        if (rebuilt)
            QVERIFY(first.isNull());
        if (change == "order")
            QCOMPARE(main.Selector()->TabText(1), QStringLiteral("One"));
        if (change == "timers")
            QVERIFY(main->Timer->isActive());
        if (change == "view mode")
            QCOMPARE(main.Selector()->TabPosition(), TTabControl::TPosition::Left);
    }

    void gridButtons_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("current");
        QTest::newRow("up on the first") << 0 << "up" << QStringList{"One", " ", "Three"} << 0;
        QTest::newRow("up in the middle") << 1 << "up" << QStringList{" ", "One", "Three"} << 0;
        QTest::newRow("up on the last") << 2 << "up" << QStringList{"One", "Three", " "} << 1;
        QTest::newRow("down on the first") << 0 << "down" << QStringList{" ", "One", "Three"} << 1;
        QTest::newRow("down in the middle") << 1 << "down" << QStringList{"One", "Three", " "} << 2;
        QTest::newRow("down on the last") << 2 << "down" << QStringList{"One", " ", "Three"} << 2;
        QTest::newRow("add") << 0 << "add" << QStringList{"One", " ", "Three", "New"} << 3;
        QTest::newRow("remove the first") << 0 << "remove" << QStringList{" ", "Three"} << 0;
        QTest::newRow("remove in the middle") << 1 << "remove" << QStringList{"One", "Three"} << 1;
        QTest::newRow("remove the last") << 2 << "remove" << QStringList{"One", " "} << 1;
    }
    void gridButtons()
    {
        QFETCH(int, row);
        QFETCH(QString, button);
        StoreSites3();
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            dialog->sgSites->setCurrentCell(row, 1);
            QPushButton* buttons[] = {dialog->Button1, dialog->Button2, dialog->Button3, dialog->Button4};
            const int index = QStringList{"up", "down", "add", "remove"}.indexOf(button);
            buttons[index]->click();
            QTEST(GridColumn(dialog, 0), "titles");
            QTEST(dialog->sgSites->currentRow(), "current");
            QCOMPARE(dialog->sgSites->currentColumn(), 1);
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(0)->text(), QStringLiteral("Title"));
            if (button == "add")
                QCOMPARE(dialog->CellText(3, 1), QStringLiteral("about:blank"));
        });
    }

    void theLastSiteCannotBeRemoved()
    {
        StoreSites({"Only"}, {"http://only/"});
        TMain main;
        TMessageLog log;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            dialog->Button4->click();
            QCOMPARE(dialog->sgSites->rowCount(), 1);
        });
        QCOMPARE(log.Texts(), QStringList{"There must be at least one site in the list.\n\r"
                                          "You can edit this site by clicking the title or the address."});
        QCOMPARE(log.Messages.first().Caption, QStringLiteral("Orvanta"));
    }

    void cancelKeepsEverything()
    {
        StoreSites3();
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) {
            dialog->sgSites->item(0, 0)->setText("Changed");
            dialog->Button3->click();
            dialog->rgViewmode->SetItemIndex(0);
            dialog->cbTimerRefresh->setChecked(true);
            dialog->cbHintProgressbar->setChecked(false);
            dialog->btnCancel->click();
        });
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", "", "Three"}));
        QCOMPARE(main.Settings()->Urls.size(), 3);
        QCOMPARE(main.Settings()->ViewMode, 2);
        QVERIFY(!main.Settings()->TimerRefreshEnabled);
        QVERIFY(main.Settings()->HintProgressBar);
        QVERIFY(!main->Timer->isActive());
        QVERIFY(!TFakeWebBrowser::Journal().join('\n').contains("destroyed"));
    }

    void awkwardTitleSurvivesARestart()
    {
        StoreSites3();
        const QString title = QStringLiteral("My \"best\" site, really");
        {
            TMain main;
            RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
                dialog->sgSites->item(1, 0)->setText(title);
                dialog->btnOk->click();
            });
            QCOMPARE(main.Selector()->TabText(1), title);
        }
        TMain again;
        QCOMPARE(again.Settings()->Titles, (QStringList{"One", title, "Three"}));
    }

    // A site's own times, schedule, zoom, style and scrolling move with its row; a bad time is marked and reads
    // as empty; a schedule that can't be read is marked and kept as it stands; every column
    // says what it takes.
    void perSiteValuesMoveWithTheirRow()
    {
        StoreSites3({{"TimerCyclePause", "30"}});
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        stored.setValue("Sites/CycleTimes", "1,2,3");
        stored.setValue("Sites/Zooms", "110,,150");
        stored.setValue("Sites/Schedules", "\"Sat,Sun 10:00-14:00\",,\"Mon 25:00-26:00\"");
        stored.setValue("Sites/Profiles", "work,,");
        stored.setValue("Sites/Styles", "\"p { color: red }\",,");
        stored.setValue("Sites/Scrolls", "5,,");
        stored.setValue("Sites/Screens", "dp-1,,HDMI-9");
        stored.sync();
        TMain main;
        QCOMPARE(main.Page(0)->Profile, QStringLiteral("work"));
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            QCOMPARE(dialog->sgSites->columnCount(), 9);
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(8)->text(), QStringLiteral("Screen"));
            QVERIFY(dialog->sgSites->horizontalHeaderItem(8)->toolTip().contains("DP-1"));
            QCOMPARE(dialog->sgSites->item(2, 8)->foreground().color(), QColor(Qt::red));
            QVERIFY(dialog->sgSites->item(0, 8)->foreground().color() != QColor(Qt::red));
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(7)->text(), QStringLiteral("Scroll"));
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(6)->text(), QStringLiteral("Style"));
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(5)->text(), QStringLiteral("Profile"));
            QCOMPARE(dialog->sgSites->horizontalHeaderItem(4)->text(), QStringLiteral("Schedule"));
            QVERIFY(dialog->sgSites->horizontalHeaderItem(4)->toolTip().contains("HH:MM-HH:MM"));
            QCOMPARE(dialog->sgSites->item(2, 4)->foreground().color(), QColor(Qt::red));
            QVERIFY(dialog->sgSites->item(0, 4)->foreground().color() != QColor(Qt::red));
            dialog->sgSites->item(1, 4)->setText("Mon-Fri 9:00");
            QCOMPARE(dialog->sgSites->item(1, 4)->foreground().color(), QColor(Qt::red));
            dialog->sgSites->setCurrentCell(0, 0);
            dialog->btDownClick();
            for (int column = 0; column < dialog->sgSites->columnCount(); ++column)
                QVERIFY(!dialog->sgSites->horizontalHeaderItem(column)->toolTip().isEmpty());
            dialog->sgSites->item(2, 3)->setText("abc");
            QCOMPARE(dialog->sgSites->item(2, 3)->foreground().color(), QColor(Qt::red));
            QVERIFY(dialog->sgSites->item(2, 3)->toolTip().contains("whole number of seconds"));
            dialog->sgSites->item(2, 3)->setText(" ");
            dialog->sgSites->item(0, 3)->setText(" 7");
            QVERIFY(dialog->sgSites->item(0, 3)->foreground().color() != QColor(Qt::red));
            dialog->edtTimerCyclePause->SetValue(12);
            dialog->btnOk->click();
        });
        QCOMPARE(main.Settings()->Titles, (QStringList{" ", "One", "Three"}));
        QCOMPARE(main.Settings()->CycleTimes, (QStringList{"2", "1", "3"}));
        QCOMPARE(main.Settings()->RefreshTimes, (QStringList{"7", "", ""}));
        QCOMPARE(main.Settings()->Zooms, (QStringList{"", "110", "150"}));
        QCOMPARE(main.Settings()->Schedules, (QStringList{"Mon-Fri 9:00", "Sat,Sun 10:00-14:00", "Mon 25:00-26:00"}));
        QCOMPARE(main.Settings()->Profiles, (QStringList{"", "work", ""}));
        QCOMPARE(main.Settings()->Screens, (QStringList{"", "dp-1", "HDMI-9"}));
        QCOMPARE(main.Settings()->Styles, (QStringList{"", "p { color: red }", ""}));
        QCOMPARE(main.Settings()->Scrolls, (QStringList{"", "5", ""}));
        QCOMPARE(main.Page(1)->Profile, QStringLiteral("work"));
        QCOMPARE(main.Settings()->TimerCyclePause, 12);
        QCOMPARE(main.Page(1)->Zoom, 110);
    }

    // A site list taken out with every per-site value and brought back in replaces the grid
    // whole; what the user confirms with OK is what was exported.
    void exportThenImport()
    {
        StoreSites3();
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        stored.setValue("Sites/CycleTimes", "1,,3");
        stored.setValue("Sites/Zooms", ",150,");
        stored.setValue("Sites/Schedules", ",\"Mon-Fri 08:00-18:00\",");
        stored.sync();
        QTemporaryDir folder;
        const QString fileName = folder.filePath("sites.ini");
        const TFileDialogHook previous = SetFileDialogHook([&](TFileDialogKind, const QString&) { return fileName; });
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            dialog->btnExport->click();
            dialog->sgSites->setCurrentCell(0, 0);
            dialog->btRemoveClick();
            dialog->sgSites->item(0, 0)->setText("Changed");
            dialog->btnImport->click();
            QCOMPARE(dialog->sgSites->rowCount(), 3);
            dialog->btnOk->click();
        });
        SetFileDialogHook(previous);
        // The grid shows an empty title as a space, and OK keeps what the grid shows.
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", " ", "Three"}));
        QCOMPARE(main.Settings()->Urls, (QStringList{"http://one/", "http://two/", "http://three/"}));
        QCOMPARE(main.Settings()->CycleTimes, (QStringList{"1", "", "3"}));
        QCOMPARE(main.Settings()->Zooms, (QStringList{"", "150", ""}));
        QCOMPARE(main.Settings()->Schedules, (QStringList{"", "Mon-Fri 08:00-18:00", ""}));
        QCOMPARE(QSettings(fileName, QSettings::IniFormat).childGroups(), QStringList{"Sites"});
    }

    // A number of seconds that can't be read, typed or imported, keeps the dialog open with the
    // cell shown and what is wrong said; mended, OK takes it.
    void unreadableSecondsKeepTheDialogOpen_data()
    {
        QTest::addColumn<bool>("imported");
        QTest::newRow("typed") << false;
        QTest::newRow("imported") << true;
    }
    void unreadableSecondsKeepTheDialogOpen()
    {
        QFETCH(bool, imported);
        StoreSites3();
        QTemporaryDir folder;
        const QString fileName = folder.filePath("sites.ini");
        QSettings file(fileName, QSettings::IniFormat);
        file.setValue("Sites/Titles", "One,Two");
        file.setValue("Sites/Urls", "http://one/,http://two/");
        file.setValue("Sites/CycleTimes", ",abc");
        file.sync();
        const TFileDialogHook previous = SetFileDialogHook([&](TFileDialogKind, const QString&) { return fileName; });
        TMessageLog messages;
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            if (imported)
                dialog->btnImport->click();
            else
                dialog->sgSites->item(1, TfrmSetup::CycleColumn)->setText("abc");
            dialog->btnOk->click();
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->sgSites->currentRow(), 1);
            QCOMPARE(dialog->sgSites->currentColumn(), int(TfrmSetup::CycleColumn));
            dialog->sgSites->item(1, TfrmSetup::CycleColumn)->setText("7");
            dialog->btnOk->click();
            QVERIFY(!dialog->isVisible());
        });
        SetFileDialogHook(previous);
        QCOMPARE(messages.Texts(), QStringList{"Site 2, Cycle: \"abc\". Give a whole number of seconds, 0, or nothing for the interval of the options."});
        QCOMPARE(main.Settings()->CycleTimes.value(1), QStringLiteral("7"));
    }

    // By keyboard alone: Add puts the keys in the new site's address, Enter ends that edit and
    // the next Enter is OK; Tab leads out of the grid.
    void addingASiteByKeyboard()
    {
        StoreSites3();
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            dialog->activateWindow();
            QTRY_VERIFY(dialog->isActiveWindow());
            dialog->Button3->click();
            QCOMPARE(dialog->sgSites->currentRow(), 3);
            QCOMPARE(dialog->sgSites->currentColumn(), int(TfrmSetup::AddressColumn));
            QTRY_VERIFY(dialog->sgSites->isAncestorOf(QApplication::focusWidget()));
            QTest::keyClicks(QApplication::focusWidget(), "http://four/");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            QTRY_COMPARE(dialog->sgSites->item(3, TfrmSetup::AddressColumn)->text(), QStringLiteral("http://four/"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(!dialog->sgSites->isAncestorOf(QApplication::focusWidget()) && QApplication::focusWidget() != dialog->sgSites);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(!dialog->isVisible());
        });
        QCOMPARE(main.Settings()->Urls.value(3), QStringLiteral("http://four/"));
    }

    // A name without an extension gets Import's, so that its filter finds the file again.
    void exportNamesTheFileForImport()
    {
        StoreSites3();
        QTemporaryDir folder;
        const TFileDialogHook previous = SetFileDialogHook([&](TFileDialogKind, const QString&) { return folder.filePath("sites"); });
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) { dialog->btnExport->click(); });
        SetFileDialogHook(previous);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"sites.ini"});
    }

    // A file that can't be read, or whose lists don't fit together, is told and changes nothing.
    void damagedImportChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no file") << QByteArray() << "the file can't be read.";
        QTest::newRow("no site list") << QByteArray("[Settings]\nViewMode=1\n") << "it holds no site list.";
        QTest::newRow("not a settings file") << QByteArray("\x01\x02 binary \xff") << "it holds no site list.";
        QTest::newRow("titles and addresses of different lengths")
            << QByteArray("[Sites]\nTitles=\"A,B\"\nUrls=http://a/\n") << "its lists don't fit together.";
        QTest::newRow("no sites") << QByteArray("[Sites]\nTitles=\nUrls=\n") << "its lists don't fit together.";
        QTest::newRow("more zooms than sites")
            << QByteArray("[Sites]\nTitles=A\nUrls=http://a/\nZooms=\"110,120\"\n") << "its lists don't fit together.";
        QTest::newRow("a value that is not text")
            << QByteArray("[Sites]\nTitles=A, B\nUrls=\"http://a/,http://b/\"\n") << "a value in it is not text.";
    }
    void damagedImportChangesNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        StoreSites3();
        QTemporaryDir folder;
        const QString fileName = folder.filePath("sites.ini");
        if (!content.isEmpty()) {
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const TFileDialogHook previous = SetFileDialogHook([&](TFileDialogKind, const QString&) { return fileName; });
        TMessageLog messages;
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            dialog->btnImport->click();
            QCOMPARE(GridColumn(dialog, 0), (QStringList{"One", " ", "Three"}));
        });
        SetFileDialogHook(previous);
        QCOMPARE(messages.Texts(), QStringList{"Can't import the site list from " + fileName + ": " + reason});
        QCOMPARE(messages.Messages.first().Caption, QStringLiteral("Information"));
    }

    // What the administrator locked is shown read-only and never taken back from the dialog.
    void lockedPagesAreReadOnly()
    {
        StoreSites3();
        WriteSystemConfig("[Settings]\nLocked=true\n[Sites]\nLocked=true\nTitles=Admin\nUrls=http://admin/\n");
        TMain main;
        RunSetup(main, main.Form()->SetupSitesMenuItem, [&](TfrmSetup* dialog) {
            QCOMPARE(dialog->sgSites->editTriggers(), QAbstractItemView::NoEditTriggers);
            for (QPushButton* button : {dialog->Button1, dialog->Button2, dialog->Button3, dialog->Button4,
                                        dialog->btnExport, dialog->btnImport})
                QVERIFY(!button->isEnabled());
            QVERIFY(dialog->lblSitesLocked->isVisible());
            QVERIFY(!dialog->lblDisplayLocked->isHidden());
            QVERIFY(!dialog->rgViewmode->isEnabled());
            QVERIFY(!dialog->cbTimerCycle->isEnabled());
            dialog->rgViewmode->SetItemIndex(4);
            dialog->sgSites->item(0, 0)->setText("Mine");
            dialog->btnOk->click();
        });
        QCOMPARE(main.Settings()->Titles, QStringList{"Admin"});
        QCOMPARE(main.Settings()->ViewMode, 2);
    }

    void intervalsThatAreNoWholeNumberAreZero_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("interval");
        QTest::newRow("letters are refused") << "4abc" << "4" << 4;
        QTest::newRow("decimal") << "1.5" << "1.5" << 0;
        QTest::newRow("negative") << "-12" << "-12" << -12;
        QTest::newRow("plus sign") << "+7" << "+7" << 7;
    }
    void intervalsThatAreNoWholeNumberAreZero()
    {
        QFETCH(QString, typed);
        StoreSites3();
        TMain main;
        RunSetup(main, main.Form()->SetupOptionsMenuItem, [&](TfrmSetup* dialog) {
            QLineEdit* field = dialog->edtTimerRefresh->findChild<QLineEdit*>();
            field->clear();
            QTest::keyClicks(field, typed);
            QTEST(field->text(), "shown");
            dialog->btnOk->click();
        });
        QTEST(main.Settings()->TimerRefreshInterval, "interval");
    }

    void arrowsStepByOne()
    {
        TfrmSetup dialog;
        dialog.edtTimerCycle->SetValue(0);
        dialog.edtTimerCycle->stepBy(-1);
        QCOMPARE(dialog.edtTimerCycle->Value(), -1);
        dialog.edtTimerCycle->stepBy(3);
        QCOMPARE(dialog.edtTimerCycle->Value(), 2);
    }

    void storedSelectionsOutOfRange_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("above the last") << 9 << 5;
        QTest::newRow("negative") << -3 << -1;
        QTest::newRow("in range") << 3 << 3;
    }
    void storedSelectionsOutOfRange()
    {
        QFETCH(int, stored);
        StoreSites3({{"ViewMode", QString::number(stored)}, {"AddressBar", QString::number(stored)}});
        TMain main;
        RunSetup(main, main.Form()->SetupOptionsMenuItem, [&](TfrmSetup* dialog) {
            QTEST(dialog->rgViewmode->ItemIndex(), "shown");
            dialog->btnOk->click();
        });
        QTEST(main.Settings()->ViewMode, "shown");
        QCOMPARE(main.Settings()->AddressBar, qMin(stored < 0 ? -1 : stored, 3));
    }

    void anErrorWhileApplyingStillClosesTheDialog()
    {
        StoreSites3();
        TMain main;
        TFakeWebBrowser::FailNewPages() = true;
        QVERIFY_THROWS_EXCEPTION(EKestException, RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) {
                                     dialog->Button3->click();
                                     dialog->btnOk->click();
                                 }));
        TFakeWebBrowser::FailNewPages() = false;
        QVERIFY(!OpenDialog());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TfrmSetup*>(window));
        QVERIFY(QSettings(ConfigFile(), QSettings::IniFormat).contains("Forms/frmSetupTop"));
    }
};

ORVANTA_TEST_MAIN(TestSetup)
#include "tst_setup.moc"
