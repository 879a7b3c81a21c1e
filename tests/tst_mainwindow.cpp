#include "TestSupport.h"

#include "platform/TabControl.h"
#include "shared/KestException.h"
#include "shared/KestTag.h"
#include "shared/LibHyperlink.h"
#include "views/ViewMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A second copy brings the window back as it was before it went to the task bar.
    void restoredAsItWasBeforeMinimising_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("maximised") << true;
        QTest::newRow("normal") << false;
    }
    void restoredAsItWasBeforeMinimising()
    {
        QFETCH(bool, maximised);
        TfrmMain form;
        maximised ? form.showMaximized() : form.showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(form.isMinimized());
        form.ShowRestored();
        QTRY_VERIFY(!form.isMinimized());
        QCOMPARE(form.isMaximized(), maximised);
    }

    void designedPlacement()
    {
        TfrmMain form;
        QCOMPARE(form.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Orvanta"));
        QCOMPARE(form.pos(), QPoint(76, 30));
        QCOMPARE(form.size(), QSize(912, 669));
        form.resize(100, 100);
        QCOMPARE(form.size(), QSize(550, 270));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.tcBrowserContainer->Count(), 2);
        QCOMPARE(form.tcBrowserContainer->TabText(0), QStringLiteral("Test 1"));
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("picture");
        QTest::newRow("menu") << "tbMenu" << 0 << "Menu" << false;
        QTest::newRow("back") << "tbBack" << 1 << "Back" << true;
        QTest::newRow("forward") << "tbForward" << 2 << "Forward" << true;
        QTest::newRow("home") << "tbHome" << 3 << "Home" << true;
        QTest::newRow("refresh") << "tbRefresh" << 4 << "Refresh" << true;
        QTest::newRow("stop") << "tbStop" << 5 << "Stop" << true;
        QTest::newRow("dummy") << "tbDummy" << 0 << "&Refresh all" << false;
    }
    void toolbarButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        TfrmMain form;
        const QList<QToolButton*> buttons = form.ToolBar->findChildren<QToolButton*>();
        auto* button = form.ToolBar->findChild<QToolButton*>(name);
        QVERIFY(button);
        QTEST(TagOf(button), "tag");
        QCOMPARE(button->text(), caption);
        QTEST(!button->icon().isNull(), "picture");
        // Equal buttons in a row, never narrower than designed.
        const QSize size = form.tbMenu->size();
        QVERIFY(size.width() >= 83 && size.height() >= 25);
        QCOMPARE(button->geometry(), QRect(QPoint(buttons.indexOf(button) * size.width(), 0), size));
        QVERIFY(button->autoRaise());
        QCOMPARE(form.ToolBar->size(), QSize(6 * size.width() + 2, size.height()));
    }

    void dummyButtonNeverReacts()
    {
        TfrmMain form;
        QVERIFY(!form.tbDummy->isEnabled());
        QCOMPARE(form.ToolBar->width() - form.tbDummy->x(), 2);
    }

    void pictures()
    {
        TfrmMain form;
        QCOMPARE(form.ilImages.size(), 5);
        QCOMPARE(form.ilHotImages.size(), 5);
        // Each picture is drawn (a good part of it opaque) on a transparent ground, and its hot
        // twin differs from it.
        const auto opaque = [](const QImage& image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            return count;
        };
        for (int i = 0; i < 5; ++i) {
            const QImage image = form.ilImages.at(i).toImage();
            QCOMPARE(image.size(), QSize(16, 16));
            QVERIFY(image != form.ilHotImages.at(i).toImage());
            QVERIFY(opaque(image) >= 20);
            QVERIFY(opaque(image) < 256);
            QVERIFY(opaque(form.ilHotImages.at(i).toImage()) >= 20);
        }
    }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("tag");
        QTest::newRow("add") << "miAddSite" << "&Add new site" << 1;
        QTest::newRow("remove") << "miRemoveSite" << "&Remove this site" << 2;
        QTest::newRow("update home") << "miUpdateHome" << "Update &site address from actual page" << 3;
        QTest::newRow("update title") << "miUpdateTitle" << "Update site &title from actual page" << 4;
        QTest::newRow("open") << "miOpenInBrowser" << "&Open actual page in default browser" << 5;
        QTest::newRow("copy") << "miCopyURL" << "&Copy URL from actual page" << 6;
        QTest::newRow("all") << "AllSitesMenuItem" << "&All" << 0;
        QTest::newRow("all home") << "AllSitesHomeMenuItem" << "&Home" << 3;
        QTest::newRow("all reload") << "AllSitesReloadMenuItem" << "&Reload page" << 4;
        QTest::newRow("all stop") << "AllSitesStoploadingMenuItem" << "&Stop loading" << 5;
        QTest::newRow("search") << "SearchMenuItem" << "&Search" << 0;
        QTest::newRow("tethra") << "TethraMenuItem" << "Quenbrook's &Tethra" << 0;
        QTest::newRow("setup") << "SetupMenuItem" << "&Setup" << 0;
        QTest::newRow("setup sites") << "SetupSitesMenuItem" << "&Sites" << 0;
        QTest::newRow("setup display") << "SetupOptionsMenuItem" << "&Display" << 0;
        QTest::newRow("setup remote") << "SetupRemoteMenuItem" << "&Remote" << 0;
        QTest::newRow("info") << "InfoMenuItem" << "&Info" << 0;
        QTest::newRow("software") << "SoftwareMenuItem" << "&Software" << 0;
        QTest::newRow("donate") << "DonateMenuItem" << "&Donate" << 0;
        QTest::newRow("about") << "AboutMenuItem" << "&About" << 0;
        QTest::newRow("exit") << "ExitMenuItem" << "E&xit" << 0;
    }
    void menus()
    {
        QFETCH(QString, name);
        TfrmMain form;
        auto* item = form.findChild<QAction*>(name);
        QVERIFY(item);
        QTEST(item->text(), "caption");
        QTEST(TagOf(item), "tag");
    }

    void menuOrder()
    {
        TfrmMain form;
        QStringList names;
        for (QAction* item : form.popTabMenu->actions())
            names.append(item->objectName());
        QCOMPARE(names, (QStringList{"miAddSite", "miRemoveSite", "N2", "miUpdateHome", "miUpdateTitle", "N4",
                                     "miOpenInBrowser", "miCopyURL", "N5", "miForgetCertificate"}));
        names.clear();
        for (QAction* item : form.popMainMenu->actions())
            names.append(item->objectName());
        QCOMPARE(names, (QStringList{"AllSitesMenuItem", "OverviewMenuItem", "SearchMenuItem", "TethraMenuItem", "N3", "SetupMenuItem",
                                     "InfoMenuItem", "N5", "ExitMenuItem"}));
        QCOMPARE(form.ExitMenuItem->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    }

    void menuButtonOpensTheMainMenuBelowItself()
    {
        TfrmMain form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QPoint shownAt;
        QTimer::singleShot(0, &form, [&] {
            QTRY_VERIFY(form.popMainMenu->isVisible());
            shownAt = form.popMainMenu->pos();
            form.popMainMenu->close();
        });
        QTest::mouseClick(form.tbMenu, Qt::LeftButton);
        QCOMPARE(shownAt, form.tbMenu->mapToGlobal(QPoint(0, form.tbMenu->height())));
    }

    // This test program carries no version record: the About box can't open.
    void aboutBoxWithoutAVersionRecord()
    {
        TfrmMain form;
        SetApplicationMainForm(&form);
        QVERIFY_THROWS_EXCEPTION(EPlatformError, form.AboutMenuItemClick());
        QVERIFY(form.isEnabled());
        SetApplicationMainForm(nullptr);
    }

    void informationEntriesOpenTheMakersPages()
    {
        TfrmMain form;
        TShellLog shell;
        form.SearchMenuItem->trigger();
        form.SoftwareMenuItem->trigger();
        form.DonateMenuItem->trigger();
        form.TethraMenuItem->trigger();
        QCOMPARE(shell.Targets, (QStringList{SiteBaseAddress() + "home/search.htm", SiteBaseAddress() + "software",
                                             SiteBaseAddress() + "software/donate.htm", "Tethra.exe"}));
        QVERIFY(SiteBaseAddress().startsWith("http:") && SiteBaseAddress().endsWith('/'));
    }

    // Where the desktop has no browser, a page that can't be opened is said, with its address.
    void aPageThatCantBeOpenedIsSaid()
    {
        TfrmMain form;
        TMessageLog log;
        const TShellOpenHook previous = SetShellOpenHook([](const QString&) { return 0; });
        form.SearchMenuItem->trigger();
        SetShellOpenHook(previous);
        QCOMPARE(log.Texts().size(), 1);
        QVERIFY(log.Texts().first().contains(SiteBaseAddress() + "home/search.htm"));
    }

    void escapedErrorsAreShownAndTheLoopGoesOn()
    {
        TMessageLog log;
        QTimer::singleShot(0, [] { throw EKestException("Something broke."); });
        bool after = false;
        QTimer::singleShot(0, [&after] { after = true; });
        QTRY_VERIFY(after);
        QCOMPARE(log.Texts(), QStringList{"Something broke."});
        QCOMPARE(log.Messages.first().Caption, QStringLiteral("Orvanta"));
        QCOMPARE(log.Messages.first().Icon, TMessageIcon::Critical);
    }

    void addressTurnsCapitalsToSmallLetters()
    {
        TfrmMain form;
        QTest::keyClicks(form.edtAddress, "HTTP://Example.COM/Path");
        QCOMPARE(form.edtAddress->text(), QStringLiteral("http://example.com/path"));
    }
};

ORVANTA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
