#include "ControllerFixture.h"

#include "browser/Downloads.h"
#include "controllers/ControllerMain.h"
#include "platform/AlignLayout.h"
#include "platform/HintSwitch.h"
#include "platform/TabControl.h"
#include "shared/KestException.h"
#include "shared/KestTag.h"
#include "shared/LibHyperlink.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QMenu>
#include <QToolTip>
#include <QToolButton>
#include <memory>

using TStyle = TTabControl::TStyle;
using TPosition = TTabControl::TPosition;
Q_DECLARE_METATYPE(TStyle)
Q_DECLARE_METATYPE(TPosition)
Q_DECLARE_METATYPE(TLoadState)

namespace {

void StoreThreeSites(const QMap<QString, QString>& settings = {})
{
    StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"}, settings);
}

QStringList Names(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* widget : widgets)
        names.append(widget->objectName());
    return names;
}

bool Collapsed(QWidget* page)
{
    return page->height() == 0 && !page->isHidden();
}

} // namespace

class TestController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A server's name for a download, as it is saved: never outside the folder, never hidden,
    // never over a file that is there.
    void downloadNamesAreMadeSafe_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("saved");
        QTest::newRow("plain") << "report.csv" << "report.csv";
        QTest::newRow("folders") << "../../x" << "x";
        QTest::newRow("Windows folders") << "..\\..\\evil.exe" << "evil.exe";
        QTest::newRow("an absolute path") << "/etc/passwd" << "passwd";
        QTest::newRow("leading dots") << "...bashrc" << "bashrc";
        QTest::newRow("control characters") << QString("a" + QString(QChar(1)) + "b\nc" + QChar(0x7f) + ".txt") << "abc.txt";
        QTest::newRow("empty") << "" << "download";
        QTest::newRow("only dots") << ".." << "download";
        QTest::newRow("a clash") << "taken.tar.gz" << "taken (2).tar.gz";
        QTest::newRow("a clash without extension") << "taken" << "taken (1)";
    }
    void downloadNamesAreMadeSafe()
    {
        QFETCH(QString, suggested);
        QTemporaryDir folder;
        for (const char* name : {"taken.tar.gz", "taken (1).tar.gz", "taken"}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QTEST(TDownloads::SafeName(suggested, folder.path()), "saved");
    }

    // A download that ran when the program was killed: its part goes at the next start, and the
    // download line says so; another program's part beside it stays.
    void aCutOffDownloadIsCleanedUp()
    {
        QTemporaryDir folder;
        const QString ours = folder.filePath("export.csv"), theirs = folder.filePath("other.iso");
        for (const QString& part : {ours + ".download", theirs + ".download"}) {
            QFile file(part);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString list = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/running-downloads";
        QVERIFY(QDir().mkpath(QFileInfo(list).path()));
        QFile running(list);
        QVERIFY(running.open(QIODevice::WriteOnly));
        running.write(ours.toUtf8() + "\n");
        running.close();
        StoreThreeSites();
        TMain main;
        QVERIFY(!QFile::exists(ours + ".download"));
        QVERIFY(QFile::exists(theirs + ".download"));
        QVERIFY(main.Form()->lblDownloadNote->text().contains("export.csv was cut off"));
        QVERIFY(!QFile::exists(list));
    }

    void init()
    {
        RemoveConfig();
        TFakeWebBrowser::Journal().clear();
    }

    // A tab says why its page doesn't show the site, and says nothing once it does.
    void tabMarksThePageState_data()
    {
        QTest::addColumn<TLoadState>("state");
        QTest::addColumn<QString>("mark");
        QTest::newRow("failed") << TLoadState::Failed << QStringLiteral(" (failed)");
        QTest::newRow("sign in") << TLoadState::SignIn << QStringLiteral(" (sign in)");
        QTest::newRow("crashed") << TLoadState::Crashed << QStringLiteral(" (crashed)");
        QTest::newRow("loading") << TLoadState::Loading << QString();
    }
    void tabMarksThePageState()
    {
        QFETCH(TLoadState, state);
        StoreThreeSites();
        TMain main;
        const QString title = main.Settings()->Titles.at(1);
        main.Page(1)->SetState(state);
        QTEST(main.Selector()->TabText(1).mid(title.size()), "mark");
        main.Page(1)->Load(QStringLiteral("http://x/"), QStringLiteral("X"));
        QCOMPARE(main.Selector()->TabText(1), title);
    }

    void startsWithOnePagePerSite()
    {
        StoreThreeSites();
        TMain main;
        QCOMPARE(main->Browsers.size(), size_t(3));
        QCOMPARE(main.Selector()->Count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(main.Selector()->TabText(i), main.Settings()->Titles.at(i));
            QCOMPARE(main.Page(i)->Calls, QStringList{"Navigate " + main.Settings()->Urls.at(i)});
            QVERIFY(main.Page(i)->Silent());
            QCOMPARE(main.Page(i)->parentWidget(), main.Selector()->ClientArea());
        }
        QCOMPARE(main.Selector()->TabIndex(), 0);
        QVERIFY(main.Selector()->IsAligned(main.Page(0)));
        QVERIFY(Collapsed(main.Page(1)));
        QVERIFY(Collapsed(main.Page(2)));
        QCOMPARE(main.Captions(), (QStringList{"Menu", "Back", "Forward", "Home", "Refresh", "Stop"}));
        QVERIFY(!main->AllPages);
        QVERIFY(!main->ShowAccelerators);
        QVERIFY(!main->Timer->isActive());
        QCOMPARE(main->Timer->interval(), 1000);
        QCOMPARE(main.Form()->windowTitle(), QStringLiteral("Orvanta"));
    }

    void unusableSiteListsGiveTheDefaultSite()
    {
        StoreSites({}, {});
        TMain main;
        QCOMPARE(main.Settings()->Titles, QStringList{"New"});
        QCOMPARE(main.Settings()->Urls, QStringList{"about:blank"});
        QCOMPARE(main->Browsers.size(), size_t(1));
    }

    void timerRunsWhenAnAutomationIsOn()
    {
        StoreThreeSites({{"TimerCycleEnabled", "1"}});
        TMain main;
        QVERIFY(main->Timer->isActive());
    }

    void tethraEntryFollowsTheWorkingDirectory_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("visible");
        QTest::newRow("file") << "file" << true;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("nothing") << "nothing" << false;
    }
    void tethraEntryFollowsTheWorkingDirectory()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        if (kind == "file") {
            QFile file(folder.filePath("Tethra.exe"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (kind == "folder") {
            QVERIFY(QDir(folder.path()).mkdir("Tethra.exe"));
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        TMain main;
        QDir::setCurrent(previous);
        QTEST(main.Form()->TethraMenuItem->isVisible(), "visible");
        // Looked up once: the opposite turning up later changes nothing, not even when the
        // menu opens.
        QDir(folder.path()).rmdir("Tethra.exe");
        QFile later(folder.filePath("Tethra.exe"));
        if (kind == "file")
            QVERIFY(later.remove());
        else
            QVERIFY(later.open(QIODevice::WriteOnly));
        QDir::setCurrent(folder.path());
        main.Form()->popMainMenu->popup(QPoint(0, 0));
        QTRY_VERIFY(main.Form()->popMainMenu->isVisible());
        QTEST(main.Form()->TethraMenuItem->isVisible(), "visible");
        main.Form()->popMainMenu->close();
        QDir::setCurrent(previous);
    }

    void layoutStrips_data()
    {
        QTest::addColumn<int>("addressBar");
        QTest::addColumn<int>("progressBar");
        QTest::addColumn<QStringList>("tops");
        QTest::addColumn<QStringList>("bottoms");
        QTest::addColumn<bool>("addressShown");
        QTest::addColumn<bool>("addressInButtonBar");
        // The download note keeps to the window's foot, below everything else.
        const QString note = QStringLiteral("pnlDownloadNote");
        QTest::newRow("defaults") << 1 << 2 << QStringList{"Panel1"} << QStringList{note, "ProgressBar"} << true << true;
        QTest::newRow("both top") << 2 << 1 << QStringList{"Panel1", "pnlAddressBar", "ProgressBar"} << QStringList{note}
                                  << true << false;
        QTest::newRow("both bottom") << 3 << 2 << QStringList{"Panel1"} << QStringList{note, "ProgressBar", "pnlAddressBar"}
                                     << true << false;
        QTest::newRow("address disabled") << 0 << 0 << QStringList{"Panel1", "pnlAddressBar"}
                                          << QStringList{note, "ProgressBar"} << false << false;
        QTest::newRow("out of range") << 4 << -1 << QStringList{"Panel1", "pnlAddressBar"}
                                      << QStringList{note, "ProgressBar"} << false << false;
    }
    void layoutStrips()
    {
        QFETCH(int, addressBar);
        QFETCH(int, progressBar);
        StoreThreeSites({{"AddressBar", QString::number(addressBar)}, {"ProgressBar", QString::number(progressBar)}});
        TMain main;
        TfrmMain* form = main.Form();
        QTEST(Names(form->Layout->Strips(TAlign::Top)), "tops");
        QTEST(Names(form->Layout->Strips(TAlign::Bottom)), "bottoms");
        QTEST(!form->pnlAddressBar->isHidden(), "addressShown");
        QTEST(form->pnlAddressBar->parentWidget() == form->pnlUrlInButtonBar, "addressInButtonBar");
        QCOMPARE(form->Layout->Align(form->tcBrowserContainer), TAlign::Client);
    }

    void layoutChangesAtRunTime()
    {
        StoreThreeSites({{"AddressBar", "3"}});
        TMain main;
        TfrmMain* form = main.Form();
        main.Settings()->AddressBar = 2;
        main->ApplyLayout();
        QCOMPARE(Names(form->Layout->Strips(TAlign::Top)), (QStringList{"Panel1", "pnlAddressBar"}));
        main.Settings()->AddressBar = 1;
        main->ApplyLayout();
        QCOMPARE(form->pnlAddressBar->parentWidget(), form->pnlUrlInButtonBar);
        QCOMPARE(Names(form->Layout->Strips(TAlign::Top)), QStringList{"Panel1"});
        QVERIFY(!form->pnlAddressBar->isHidden());
    }

    void selectorStyles_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("then");
        QTest::addColumn<TStyle>("style");
        QTest::addColumn<TPosition>("position");
        QTest::addColumn<bool>("multiLine");
        QTest::newRow("buttons") << 0 << 0 << TStyle::Buttons << TPosition::Top << false;
        QTest::newRow("flat buttons") << 1 << 1 << TStyle::FlatButtons << TPosition::Top << false;
        QTest::newRow("tabs top") << 2 << 2 << TStyle::Tabs << TPosition::Top << false;
        QTest::newRow("tabs bottom") << 3 << 3 << TStyle::Tabs << TPosition::Bottom << false;
        QTest::newRow("tabs left") << 4 << 4 << TStyle::Tabs << TPosition::Left << true;
        QTest::newRow("tabs right") << 5 << 5 << TStyle::Tabs << TPosition::Right << true;
        QTest::newRow("out of range keeps the design") << 6 << 6 << TStyle::Tabs << TPosition::Top << false;
        QTest::newRow("negative keeps the design") << -1 << -1 << TStyle::Tabs << TPosition::Top << false;
        QTest::newRow("left to buttons in one step") << 4 << 0 << TStyle::Buttons << TPosition::Top << true;
        QTest::newRow("right to flat buttons") << 5 << 1 << TStyle::FlatButtons << TPosition::Top << true;
        QTest::newRow("buttons to tabs bottom") << 0 << 3 << TStyle::Tabs << TPosition::Bottom << false;
        QTest::newRow("wrapping stays on") << 4 << 2 << TStyle::Tabs << TPosition::Top << true;
        QTest::newRow("out of range keeps the last") << 3 << 9 << TStyle::Tabs << TPosition::Bottom << false;
    }
    void selectorStyles()
    {
        QFETCH(int, first);
        QFETCH(int, then);
        StoreThreeSites({{"ViewMode", QString::number(first)}});
        TMain main;
        main.Settings()->ViewMode = then;
        main->ApplyLayout();
        QTEST(main.Selector()->Style(), "style");
        QTEST(main.Selector()->TabPosition(), "position");
        QTEST(main.Selector()->MultiLine(), "multiLine");
    }

    void tabsWrapIntoColumns()
    {
        QStringList titles, urls;
        for (int i = 0; i < 30; ++i) {
            titles.append(QStringLiteral("A rather long site title %1").arg(i));
            urls.append(QStringLiteral("http://site%1/").arg(i));
        }
        StoreSites(titles, urls, {{"ViewMode", "4"}});
        TMain main;
        main.Form()->resize(912, 669);
        main.Form()->Layout->activate();
        QVERIFY(main.Selector()->LineCount() > 1);
        const QRect first = main.Selector()->TabRect(0);
        const QRect last = main.Selector()->TabRect(29);
        QVERIFY(last.left() > first.left());
        QVERIFY(main.Selector()->ClientArea()->geometry().left() >= last.right());
    }

    void hintSwitches()
    {
        StoreThreeSites({{"HintBrowserSelection", "0"}, {"HintProgressBar", "1"}});
        TMain main;
        QVERIFY(!ShowsHint(main.Selector()));
        QVERIFY(ShowsHint(main.Form()->ProgressBar));
    }

    void switchingPagesNeverReloads()
    {
        StoreThreeSites();
        TMain main;
        main.Selector()->SetTabIndex(2);
        main->ShowSelectedPage();
        QCOMPARE(main->ShownIndex, 2);
        QVERIFY(main.Selector()->IsAligned(main.Page(2)));
        QCOMPARE(main.Page(2)->size(), main.Selector()->ClientArea()->size());
        QVERIFY(Collapsed(main.Page(0)));
        main->SelectPage(1);
        QVERIFY(Collapsed(main.Page(2)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(main.Page(i)->Calls.size(), 1);
    }

    void selectingNoTabShowsTheFirstPage()
    {
        StoreThreeSites();
        TMain main;
        main->SelectPage(2);
        main->SelectPage(-1);
        QCOMPARE(main.Selector()->TabIndex(), -1);
        QCOMPARE(main->CurrentIndex(), 0);
        QCOMPARE(main->ShownIndex, 0);
        QVERIFY(main.Selector()->IsAligned(main.Page(0)));
    }

    void tabMenuSelectsTheTabUnderThePointer_data()
    {
        QTest::addColumn<int>("hover");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("shown");
        QTest::newRow("second tab") << 1 << 1 << 1;
        QTest::newRow("no tab") << -1 << -1 << 0;
    }
    void tabMenuSelectsTheTabUnderThePointer()
    {
        StoreThreeSites();
        TMain main;
        main->SelectPage(2);
        QFETCH(int, hover);
        main->HoverTabIndex = hover;
        main->TabMenuPopup();
        QTEST(main.Selector()->TabIndex(), "tab");
        QTEST(main->ShownIndex, "shown");
    }

    void progressDisplay_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("progressMax");
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("addressEnabled");
        QTest::addColumn<bool>("barVisible");
        QTest::newRow("30 of 40") << 30 << 40 << 2 << "Loading...  75%" << false << true;
        QTest::newRow("setting top") << 30 << 40 << 1 << "Loading...  75%" << false << true;
        QTest::newRow("disabled bar") << 30 << 40 << 0 << "Loading...  75%" << false << false;
        QTest::newRow("finished") << 100 << 100 << 2 << "Loading...  100%" << true << false;
        QTest::newRow("over the maximum") << 150 << 100 << 2 << "Loading...  100%" << true << true;
        QTest::newRow("half goes to even, down") << 1 << 8 << 2 << "Loading...  12%" << false << true;
        QTest::newRow("half goes to even, up") << 7 << 200 << 2 << "Loading...  4%" << false << true;
        QTest::newRow("rounded") << 2 << 3 << 2 << "Loading...  67%" << false << true;
        QTest::newRow("negative progress") << -5 << 10 << 2 << "Loading...  -50%" << false << true;
        QTest::newRow("zero maximum keeps the hint") << 0 << 0 << 2 << "Loading...  50%" << true << false;
        QTest::newRow("negative maximum keeps the hint") << 3 << -1 << 2 << "Loading...  50%" << true << true;
    }
    void progressDisplay()
    {
        QFETCH(int, progress);
        QFETCH(int, progressMax);
        QFETCH(int, setting);
        StoreThreeSites({{"ProgressBar", QString::number(setting)}});
        TMain main;
        main->BrowserProgressChange(main.Page(0), 1, 2);
        main->BrowserProgressChange(main.Page(0), progress, progressMax);
        QProgressBar* bar = main.Form()->ProgressBar;
        QTEST(bar->toolTip(), "hint");
        QTEST(main.Form()->edtAddress->isEnabled(), "addressEnabled");
        QTEST(!bar->isHidden(), "barVisible");
        QCOMPARE(bar->maximum(), progressMax);
        QCOMPARE(bar->value(), qBound(bar->minimum(), progress, bar->maximum()));
    }

    void reportsOfHiddenPagesAreIgnored()
    {
        StoreThreeSites();
        TMain main;
        main.Page(0)->Load("http://one/", "One");
        main.Page(1)->Url = "http://elsewhere/";
        main.Page(1)->Report(10, 100);
        main.Page(1)->Report(100, 100);
        QCOMPARE(main.Form()->edtAddress->text(), QStringLiteral("http://one/"));
        QVERIFY(main.Form()->edtAddress->isEnabled());
        QVERIFY(main.Form()->ProgressBar->isHidden());
        QCOMPARE(main->ActualAddress, QStringLiteral("http://one/"));
    }

    void showingAPageReadsItsAddress()
    {
        StoreThreeSites();
        TMain main;
        main.Page(1)->Url = "http://two/page";
        main.Page(1)->Title = "Two's page";
        main.Form()->edtAddress->setText("typed");
        main->SelectPage(1);
        QCOMPARE(main.Form()->edtAddress->text(), QStringLiteral("http://two/page"));
        QCOMPARE(main->ActualTitle, QStringLiteral("Two's page"));
        QVERIFY(main.Form()->ProgressBar->isHidden());
    }

    void newSitesAreNamedAfterTheirFirstPage_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("pageTitle");
        QTest::addColumn<QString>("named");
        QTest::newRow("real title") << "New" << " Example Domain" << " Example Domain";
        QTest::newRow("blank title") << "New" << "   " << "";
        QTest::newRow("address as title") << "New" << "http://x/" << "";
        QTest::newRow("blank page") << "New" << "about:blank" << "";
        QTest::newRow("https counts as a title") << "New" << "https://x/" << "https://x/";
        QTest::newRow("small letters") << "new" << "Example" << "";
        QTest::newRow("an unread count is left out") << "New" << "(3) Inbox" << "Inbox";
        QTest::newRow("a count alone names nothing") << "New" << "(3) " << "";
    }
    void newSitesAreNamedAfterTheirFirstPage()
    {
        QFETCH(QString, title);
        QFETCH(QString, pageTitle);
        QFETCH(QString, named);
        const bool renamed = !named.isEmpty();
        StoreSites({title}, {"about:blank"});
        TMain main;
        main.Page(0)->Load("http://example/", pageTitle);
        QCOMPARE(main.Settings()->Titles.at(0), renamed ? named : title);
        QCOMPARE(main.Selector()->TabText(0), renamed ? named : title);
        QCOMPARE(main.Settings()->Urls.at(0), renamed ? QStringLiteral("http://example/") : QStringLiteral("about:blank"));
        if (renamed) {
            main.Page(0)->Load("http://later/", "Later");
            QCOMPARE(main.Settings()->Titles.at(0), named);
        }
    }

    void tabHint()
    {
        StoreThreeSites();
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        main.Page(1)->Url = "http://two/now";
        main.Page(1)->Title = "Two now";
        const QPoint over = main.Selector()->TabRect(1).center();
        main->TabMouseMove(Qt::NoModifier, over.x(), over.y());
        QCOMPARE(main->HoverTabIndex, 1);
        QCOMPARE(main.Selector()->toolTip(),
                 QStringLiteral("\n\rHome title: Two\n\r\n\rHome address: http://two/\n\r\n\rActual title: Two now"
                                "\n\r\n\rActual address: http://two/now"));
        main->TabMouseMove(Qt::NoModifier, 900, 600);
        QCOMPARE(main->HoverTabIndex, -1);
        QCOMPARE(main.Selector()->toolTip(), QString());
    }

    // The hint shows over the tab under the pointer and never over the page below it.
    void tabHintStaysWithTheTabs()
    {
        StoreThreeSites();
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        const QPoint over = main.Selector()->TabRect(1).center();
        main->TabMouseMove(Qt::NoModifier, over.x(), over.y());
        QHelpEvent overPage(QEvent::ToolTip, QPoint(10, 10), main.Page(0)->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(main.Page(0), &overPage);
        QVERIFY(QToolTip::text().isEmpty());
        QHelpEvent overTab(QEvent::ToolTip, over, main.Selector()->mapToGlobal(over));
        QApplication::sendEvent(main.Selector(), &overTab);
        QVERIFY(QToolTip::text().contains("Home title: Two"));
    }

    void browserCommands_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("back") << 1 << false << QStringList{} << QStringList{"GoBack"};
        QTest::newRow("back, all pages") << 1 << true << QStringList{} << QStringList{"GoBack"};
        QTest::newRow("forward, all pages") << 2 << true << QStringList{} << QStringList{"GoForward"};
        QTest::newRow("home") << 3 << false << QStringList{} << QStringList{"Navigate http://two/"};
        QTest::newRow("home, all pages") << 3 << true << QStringList{"Navigate http://one/"}
                                         << QStringList{"Navigate http://two/"};
        QTest::newRow("refresh") << 4 << false << QStringList{} << QStringList{"Refresh2"};
        QTest::newRow("refresh, all pages") << 4 << true << QStringList{"Refresh2"} << QStringList{"Refresh2"};
        QTest::newRow("stop") << 5 << false << QStringList{} << QStringList{"Stop", "Stop"};
        QTest::newRow("stop, all pages") << 5 << true << QStringList{"Stop", "Stop"} << QStringList{"Stop", "Stop"};
        QTest::newRow("unknown tag") << 9 << true << QStringList{} << QStringList{};
    }
    void browserCommands()
    {
        QFETCH(int, tag);
        QFETCH(bool, allPages);
        StoreThreeSites();
        TMain main;
        main->SelectPage(1);
        for (int i = 0; i < 3; ++i)
            main.Page(i)->Calls.clear();
        QObject sender;
        SetTag(&sender, tag);
        main->AllPages = allPages;
        main->BrowserButtonClick(&sender);
        QTEST(main.Page(0)->Calls, "first");
        QTEST(main.Page(1)->Calls, "shown");
    }

    void commandFailures_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("allPages");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("back") << 1 << false << QStringList{"Can't go back in browser history."};
        QTest::newRow("forward") << 2 << false << QStringList{"Can't go forward in browser history."};
        QTest::newRow("refresh") << 4 << false << QStringList{"Can't refresh this page."};
        QTest::newRow("refresh all") << 4 << true << QStringList{"Can't refresh One.", "Can't refresh Three."};
    }
    void commandFailures()
    {
        QFETCH(int, tag);
        QFETCH(bool, allPages);
        StoreThreeSites();
        TMain main;
        for (int i : {0, 2}) {
            main.Page(i)->FailBack = main.Page(i)->FailForward = main.Page(i)->FailRefresh = true;
            main.Page(i)->Calls.clear();
        }
        main.Page(1)->Calls.clear();
        TMessageLog log;
        QObject sender;
        SetTag(&sender, tag);
        main->AllPages = allPages;
        main->BrowserButtonClick(&sender);
        QTEST(log.Texts(), "messages");
        for (const TMessage& message : log.Messages) {
            QCOMPARE(message.Caption, QStringLiteral("Information"));
            QCOMPARE(message.Icon, TMessageIcon::Information);
        }
        if (allPages) {
            for (int i = 0; i < 3; ++i)
                QCOMPARE(main.Page(i)->Calls, QStringList{"Refresh2"});
        }
    }

    void allCommandsLeaveAllPagesOff()
    {
        StoreThreeSites();
        TMain main;
        main->UpdateButtonCaptions(Qt::ControlModifier);
        main->AllSitesClick(main.Form()->AllSitesReloadMenuItem);
        QVERIFY(!main->AllPages);
        QCOMPARE(main.Form()->tbRefresh->text(), QStringLiteral("Refresh all"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(main.Page(i)->Calls.last(), QStringLiteral("Refresh2"));
        main.Page(1)->FailNavigate = true;
        QVERIFY_THROWS_EXCEPTION(EKestException, main->AllSitesClick(main.Form()->AllSitesHomeMenuItem));
        QVERIFY(!main->AllPages);
    }

    void captions_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("plain") << int(Qt::NoModifier)
                               << QStringList{"Menu", "Back", "Forward", "Home", "Refresh", "Stop"};
        QTest::newRow("ctrl") << int(Qt::ControlModifier)
                              << QStringList{"Menu", "Back", "Forward", "Home all   ", "Refresh all", "Stop all   "};
        QTest::newRow("alt") << int(Qt::AltModifier)
                             << QStringList{"&Menu", "&Back", "&Forward", "&Home", "&Refresh", "&Stop"};
        QTest::newRow("ctrl and alt") << int(Qt::ControlModifier | Qt::AltModifier)
                                      << QStringList{"&Menu", "&Back", "&Forward", "&Home all   ", "&Refresh all",
                                                     "&Stop all   "};
        QTest::newRow("shift changes nothing") << int(Qt::ShiftModifier)
                                               << QStringList{"Menu", "Back", "Forward", "Home", "Refresh", "Stop"};
    }
    void captions()
    {
        QFETCH(int, modifiers);
        StoreThreeSites();
        TMain main;
        main->UpdateButtonCaptions(Qt::KeyboardModifiers(modifiers));
        QTEST(main.Captions(), "captions");
        QCOMPARE(main->AllPages, bool(modifiers & Qt::ControlModifier));
        QCOMPARE(main->ShowAccelerators, bool(modifiers & Qt::AltModifier));
        main->UpdateButtonCaptions(Qt::NoModifier);
        QCOMPARE(main.Captions(), (QStringList{"Menu", "Back", "Forward", "Home", "Refresh", "Stop"}));
    }

    void keyPreviewFollowsCtrl()
    {
        StoreThreeSites();
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        // Keys reach the focused control; the window sees them first.
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : main.Form();
        QTest::keyPress(focused, Qt::Key_Control);
        QVERIFY(main->AllPages);
        QCOMPARE(main.Form()->tbStop->text(), QStringLiteral("Stop all   "));
        QTest::keyRelease(focused, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(!main->AllPages);
        QCOMPARE(main.Form()->tbStop->text(), QStringLiteral("Stop"));
    }

    void altAcceleratorsReachTheToolbar()
    {
        StoreThreeSites();
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowActive(main.Form()));
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : main.Form();
        QTest::keyPress(focused, Qt::Key_Alt);
        QCOMPARE(main.Form()->tbRefresh->text(), QStringLiteral("&Refresh"));
        QTest::keyClick(focused, Qt::Key_R, Qt::AltModifier);
        // A button's accelerator clicks it a moment later, as a pressed button shows.
        QTRY_COMPARE(main.Page(0)->Calls.last(), QStringLiteral("Refresh2"));
        QCOMPARE(main.Page(1)->Calls.size(), 1);
        QTest::keyRelease(focused, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(main.Form()->tbRefresh->text(), QStringLiteral("Refresh"));
    }

    void addingASite()
    {
        StoreThreeSites();
        TMain main;
        main->TabMenuClick(main.Form()->miAddSite);
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", "Two", "Three", "New"}));
        QCOMPARE(main.Settings()->Urls.last(), QStringLiteral("about:blank"));
        QCOMPARE(main->Browsers.size(), size_t(4));
        QCOMPARE(main.Selector()->TabIndex(), 3);
        QCOMPARE(main.Selector()->TabText(3), QStringLiteral("New"));
        QCOMPARE(main.Page(3)->Calls, QStringList{"Navigate about:blank"});
        QCOMPARE(main.Page(0)->Calls, QStringList{"Navigate http://one/"});
    }

    void removingSites_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("shownAfter");
        QTest::newRow("last site") << 2 << QStringList{"One", "Two"} << 1;
        QTest::newRow("middle site") << 1 << QStringList{"One", "Three"} << 1;
        QTest::newRow("first site") << 0 << QStringList{"Two", "Three"} << 0;
    }
    void removingSites()
    {
        QFETCH(int, shown);
        StoreThreeSites();
        TMain main;
        main->SelectPage(shown);
        main->TabMenuClick(main.Form()->miRemoveSite);
        QTEST(main.Settings()->Titles, "titles");
        QCOMPARE(main.Settings()->Urls.size(), 2);
        QCOMPARE(main->Browsers.size(), size_t(2));
        QTEST(main.Selector()->TabIndex(), "shownAfter");
        QTEST(main->ShownIndex, "shownAfter");
    }

    void theOnlySiteStays()
    {
        StoreSites({"Only"}, {"http://only/"});
        TMain main;
        TMessageLog log;
        main->TabMenuClick(main.Form()->miRemoveSite);
        QCOMPARE(log.Texts(), QStringList{"There must be at least one site in the list."});
        QCOMPARE(log.Messages.first().Caption, QStringLiteral("Orvanta"));
        QCOMPARE(log.Messages.first().Icon, TMessageIcon::NoIcon);
        QCOMPARE(main.Settings()->Titles, QStringList{"Only"});
        QCOMPARE(main.Page(0)->Calls, QStringList{"Navigate http://only/"});
    }

    void siteCommandsUseTheActualPage()
    {
        StoreThreeSites();
        TMain main;
        main->SelectPage(1);
        main.Page(1)->Load("http://two/deeper", "Deeper");
        main->TabMenuClick(main.Form()->miUpdateHome);
        QCOMPARE(main.Settings()->Urls.at(1), QStringLiteral("http://two/deeper"));
        QCOMPARE(main.Selector()->TabText(1), QStringLiteral("Two"));
        main->TabMenuClick(main.Form()->miUpdateTitle);
        QCOMPARE(main.Settings()->Titles.at(1), QStringLiteral("Deeper"));
        QCOMPARE(main.Selector()->TabText(1), QStringLiteral("Deeper"));
        TShellLog shell;
        main->TabMenuClick(main.Form()->miOpenInBrowser);
        QCOMPARE(shell.Targets, QStringList{"http://two/deeper"});
        QGuiApplication::clipboard()->setText("something else");
        main->TabMenuClick(main.Form()->miCopyURL);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://two/deeper"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(main.Page(i)->Calls.size(), 1);
    }

    void enterInTheAddressBar()
    {
        StoreThreeSites();
        TMain main;
        main->SelectPage(2);
        main.Form()->edtAddress->setText("http://typed/");
        main->AddressKeyPress(QLatin1Char('a'));
        QCOMPARE(main.Page(2)->Calls.size(), 1);
        main->AddressKeyPress(QChar(13));
        QCOMPARE(main.Page(2)->Calls.last(), QStringLiteral("Navigate http://typed/"));
    }

    void refreshTimer_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("refreshes");
        QTest::newRow("every 120 ticks") << 120 << 241 << 2;
        QTest::newRow("interval 1") << 1 << 3 << 3;
        QTest::newRow("interval 0") << 0 << 3 << 3;
        QTest::newRow("negative interval") << -5 << 3 << 3;
    }
    void refreshTimer()
    {
        QFETCH(int, interval);
        QFETCH(int, ticks);
        StoreThreeSites({{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", QString::number(interval)}});
        TMain main;
        TMessageLog log;
        main.Page(1)->FailRefresh = true;
        for (int i = 0; i < ticks; ++i)
            main->TimerTick();
        for (int i = 0; i < 3; ++i)
            QTEST(int(main.Page(i)->Calls.count("Refresh2")), "refreshes");
        QVERIFY(log.Messages.isEmpty());
        QVERIFY(main->Timer->isActive());
        QCOMPARE(main->CurrentIndex(), 0);
    }

    void refreshComesBeforeCycling()
    {
        StoreThreeSites({{"TimerRefreshEnabled", "1"}, {"TimerCycleEnabled", "1"}, {"TimerRefreshInterval", "2"},
                         {"TimerCycleInterval", "2"}});
        TMain main;
        main->TimerTick();
        QCOMPARE(main->CurrentIndex(), 0);
        TFakeWebBrowser::Journal().clear();
        main->TimerTick();
        QCOMPARE(TFakeWebBrowser::Journal(),
                 (QStringList{"http://one/ Refresh2", "http://two/ Refresh2", "http://three/ Refresh2",
                              "http://two/ LocationURL"}));
        QCOMPARE(main->CurrentIndex(), 1);
    }

    void cyclingSteps_data()
    {
        QTest::addColumn<int>("sites");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("next site") << 3 << 0 << 1;
        QTest::newRow("last wraps to first") << 3 << 2 << 0;
        QTest::newRow("one site stays") << 1 << 0 << 0;
        QTest::newRow("hand-picked tab goes on") << 3 << 1 << 2;
    }
    void cyclingSteps()
    {
        QFETCH(int, sites);
        QFETCH(int, from);
        QStringList titles, urls;
        for (int i = 0; i < sites; ++i) {
            titles.append(QString::number(i));
            urls.append(QStringLiteral("http://%1/").arg(i));
        }
        StoreSites(titles, urls, {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "3"}});
        TMain main;
        main->TimerTick();
        main->SelectPage(from);
        main->TimerTick();
        QCOMPARE(main->CurrentIndex(), from);
        QCOMPARE(main->MainStage.CycleTicks, 2);
        main->TimerTick();
        QTEST(main->CurrentIndex(), "to");
        QCOMPARE(main->MainStage.CycleTicks, 0);
        QVERIFY(main.Selector()->IsAligned(main->Browser(main->CurrentIndex())));
    }

    void countsWaitWhileAutomationsAreOff()
    {
        StoreThreeSites({{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "10"}});
        TMain main;
        for (int i = 0; i < 3; ++i)
            main->TimerTick();
        QCOMPARE(main->RefreshTicks.Ticks(0), 3);
        main.Settings()->TimerRefreshEnabled = false;
        main->BuildPages();
        QVERIFY(!main->Timer->isActive());
        QCOMPARE(main->RefreshTicks.Ticks(0), 3);
        main.Settings()->TimerRefreshEnabled = true;
        main->TimerTick();
        QCOMPARE(main->RefreshTicks.Ticks(0), 4);
        main.Settings()->TimerRefreshEnabled = false;
        main.Settings()->TimerCycleEnabled = true;
        main->TimerTick();
        QCOMPARE(main->RefreshTicks.Ticks(0), 0);
    }

    void timerComesBackAfterAFailingTick()
    {
        StoreThreeSites({{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}});
        TMain main;
        main.Page(1)->FailLocation = true;
        QVERIFY_THROWS_EXCEPTION(EKestException, main->TimerTick());
        QVERIFY(main->Timer->isActive());
    }

    void closingBlanksAndFreesThePagesBeforeWriting()
    {
        StoreThreeSites();
        TMain main;
        TFakeWebBrowser::Journal().clear();
        main->Registry()->ViewMode = 4;
        // A page that fails on its way out does not keep the others or the settings.
        main.Page(1)->FailNavigate = true;
        main.Free();
        QStringList expected;
        for (const QString& url : {"http://one/", "http://two/", "http://three/"})
            expected.append(url + " Navigate about:blank");
        expected << "about:blank destroyed" << "http://two/ destroyed" << "about:blank destroyed";
        QCOMPARE(TFakeWebBrowser::Journal(), expected);
        QVERIFY(TFakeWebBrowser::Pages().isEmpty());
        QCOMPARE(QSettings(ConfigFile(), QSettings::IniFormat).value("Settings/ViewMode").toString(), QStringLiteral("4"));
    }

    void keysStayWithTheShownPage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("kept");
        QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << true;
        QTest::newRow("arrow") << int(Qt::Key_Left) << int(Qt::NoModifier) << true;
        QTest::newRow("copy") << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
        QTest::newRow("alt accelerator") << int(Qt::Key_B) << int(Qt::AltModifier) << false;
    }
    void keysStayWithTheShownPage()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        StoreThreeSites();
        TMain main;
        QWidget inner(main.Page(0));
        QKeyEvent event(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
        event.ignore();
        QTEST(main->ApplicationMessage(&inner, &event), "kept");
        QKeyEvent elsewhere(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
        elsewhere.ignore();
        QVERIFY(!main->ApplicationMessage(main.Page(1), &elsewhere));
        QVERIFY(!main->ApplicationMessage(main.Form()->edtAddress, &elsewhere));
    }
};

ORVANTA_TEST_MAIN(TestController)
#include "tst_controller.moc"
