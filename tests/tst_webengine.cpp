#include "EngineFixture.h"
#include "TestSupport.h"

#include "browser/BackgroundCollector.h"
#include "browser/CertificatePage.h"
#include "browser/Downloads.h"
#include "browser/SignInPage.h"
#include "browser/LoadRetry.h"
#include "browser/PermissionBar.h"
#include "browser/PermissionDecisions.h"
#include "browser/WebEngineBrowser.h"
#include "controllers/ControllerMain.h"
#include "platform/PrintDialog.h"
#include "platform/TabControl.h"
#include "platform/WindowOcclusion.h"
#include "shared/KestTag.h"
#include "shared/LibCommaText.h"
#include "views/ViewOverview.h"

#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QLineEdit>
#include <QStandardPaths>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>
#include <csignal>
#include <memory>
#ifdef ORVANTA_HAS_XCB
#include <xcb/xcb.h>
#endif

namespace {

QByteArray Titled(const QByteArray& title)
{
    return "<html><head><title>" + title + "</title></head><body><p>" + title + "</p></body></html>";
}

void StoreSites(const QStringList& titles, const QStringList& urls, const QMap<QString, QString>& settings = {})
{
    StoreSitesIn(ConfigFile(), titles, urls, settings);
}

TWebEngineBrowser* EnginePage(TCMain* main, int i)
{
    return static_cast<TWebEngineBrowser*>(main->Browser(i));
}

bool AllLoaded(TCMain* main)
{
    for (int i = 0; TWebBrowser* page = main->Browser(i); ++i) {
        if (page->Busy() || page->LocationURL().isEmpty())
            return false;
    }
    return true;
}

QVariant RunScript(TWebEngineBrowser* page, const QString& script, quint32 world = QWebEngineScript::MainWorld)
{
    QVariant result;
    bool done = false;
    page->View()->page()->runJavaScript(script, world, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        return QStringLiteral("<no answer>");
    return result;
}

#ifdef ORVANTA_HAS_XCB
// What the X server says when other windows cover a window, or stop covering it.
void ReportVisibility(QWindow* window, uint8_t state)
{
    xcb_visibility_notify_event_t notice{};
    notice.response_type = XCB_VISIBILITY_NOTIFY;
    notice.window = xcb_window_t(window->winId());
    notice.state = state;
    TWindowOcclusion::Instance()->nativeEventFilter("xcb_generic_event_t", &notice, nullptr);
}
#endif

bool CertificatePageShown(TCMain* main)
{
    TCertificatePage* page = EnginePage(main, 0)->CertificatePage();
    return page && !page->isHidden();
}

} // namespace

class TestWebEngine : public QObject
{
    Q_OBJECT

    THttpServer Server;

    // The Authorization headers of the requests for a path, in order.
    QList<QByteArray> Authorizations(const QString& path) const
    {
        QList<QByteArray> found;
        for (const THttpServer::TRequest& request : Server.Requests) {
            if (request.Path == path)
                found.append(request.Headers.value("authorization"));
        }
        return found;
    }

    QStringList Paths(const QStringList& paths) const
    {
        QStringList urls;
        for (const QString& path : paths)
            urls.append(Server.Url(path));
        return urls;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* path : {"/a", "/b", "/c", "/sentinel"})
            Server.SetPage(path, Titled(QByteArray(path + 1).toUpper()));
        Server.SetPage("/untitled", "<html><body>No title here</body></html>");
        Server.SetPage("/alert", "<html><body><script>alert('hi'); confirm('sure?'); prompt('name?');"
                                 "document.title = 'Alerted';</script></body></html>");
        Server.SetPage("/closer", "<html><head><title>Closer</title></head><body><script>"
                                  "if (window.opener) window.opener.close(); window.close();</script></body></html>");
        Server.SetPage("/storm", "<html><body><script>for (let i = 0; i < 50; ++i) { alert(i); window.open('/b'); }"
                                 "document.title = 'Stormed';</script></body></html>");
        Server.SetPage("/leave", "<html><head><title>Leave</title></head><body><script>"
                                 "window.addEventListener('beforeunload', e => { e.preventDefault(); e.returnValue = 'stay'; });"
                                 "</script></body></html>");
        Server.SetPage("/busy", "<html><head><title>Busy</title></head><body><script>while (true) {}</script></body></html>");
        Server.SetPage("/cookie", Titled("Cookie"), "Set-Cookie: visit=1; Max-Age=3600; Path=/\r\n");
        Server.SetPage("/form", "<html><head><title>Form</title></head><body><input autofocus></body></html>");
        Server.SetEndless("/endless");
        Server.SetRedirect("/loop", "/loop");
        Server.SetPage("/garbage", "<html><head><title>Garbage</title></head><body><script>"
                                   "window.removed = new WeakRef(document.body.appendChild(document.createElement('table')));"
                                   "document.body.removeChild(removed.deref());</script></body></html>");
        Server.SetPage("/frames", "<html><head><title>Frames</title></head><body><script>"
                                  "window.drawn = 0; window.ticks = 0;"
                                  "(function draw() { ++window.drawn; requestAnimationFrame(draw); })();"
                                  "setInterval(() => ++window.ticks, 100);</script></body></html>");
        Server.SetPage("/huge", "<html><head><title>Huge</title></head><body><p>" +
                                    QByteArray(20 * 1024 * 1024, 'x') + "</p></body></html>");
        QVERIFY(Server.isListening());
    }

    void init()
    {
        RemoveConfig();
        Server.Requests.clear();
    }

    void pagesLoadAtOnceAndSwitchingNeverRequests()
    {
        StoreSites({"A", "B", "C"}, Paths({"/a", "/b", "/c"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        for (const QString& path : {"/a", "/b", "/c"})
            QCOMPARE(Server.Count(path), 1);
        for (int i = 0; i < 10; ++i) {
            main->MainForm->tcBrowserContainer->SetTabIndex((i + 1) % 3);
            main->ShowSelectedPage();
            QCOMPARE(main->ActualTitle, QStringList({"B", "C", "A"}).at(i % 3));
        }
        main->Browser(0)->Navigate(Server.Url("/sentinel"));
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/sentinel"), 1, 30000);
        for (const QString& path : {"/a", "/b", "/c"})
            QCOMPARE(Server.Count(path), 1);
    }

    void pageNamesItsDocument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("titled");
        QTest::newRow("titled") << "/a" << true;
        QTest::newRow("untitled") << "/untitled" << false;
    }
    void pageNamesItsDocument()
    {
        QFETCH(QString, path);
        QFETCH(bool, titled);
        StoreSites({"New"}, Paths({path}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QCOMPARE(main->Browser(0)->LocationName(), titled ? QStringLiteral("A") : Server.Url(path));
        QCOMPARE(main->Registry()->Titles.at(0), titled ? QStringLiteral("A") : QStringLiteral("New"));
    }

    void scriptDialogsStaySilent()
    {
        // A dialog that shows is noted and closed, so that the test fails instead of hanging.
        QStringList shown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&shown] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
                    shown.append(dialog->windowTitle());
                    dialog->reject();
                }
            }
        });
        watch.start(20);
        StoreSites({"Alert"}, Paths({"/alert"}));
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(main->Browser(0)->LocationName(), QStringLiteral("Alerted"), 30000);
        QCOMPARE(shown, QStringList());
    }

    // Every way a page asks for a window ends in the page itself, with no window of its own.
    void newWindowsOpenInThePageItself_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("landsOn");
        QTest::addColumn<QString>("title");
        QTest::newRow("window.open") << QByteArray("window.open('/b', '_blank');") << "/b" << "B";
        QTest::newRow("window.open with features")
            << QByteArray("window.open('/b', 'w', 'popup,width=300,height=200');") << "/b" << "B";
        QTest::newRow("target=_blank link") << QByteArray("document.getElementById('link').click();") << "/b" << "B";
        QTest::newRow("a page that closes its opener and itself")
            << QByteArray("window.open('/closer');") << "/closer" << "Closer";
        QTest::newRow("window.open of nothing")
            << QByteArray("window.open(); window.open('about:blank');"
                          "setTimeout(() => document.title = 'Stayed', 500);") << "/opener" << "Stayed";
    }
    void newWindowsOpenInThePageItself()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, landsOn);
        QFETCH(QString, title);
        Server.SetPage("/opener", "<html><head><title>Opener</title></head><body><a id=link target=_blank href=/b>b</a>"
                                  "<script>" + script + "</script></body></html>");
        StoreSites({"Opener"}, Paths({"/opener"}));
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(main->Browser(0)->LocationName(), title, 30000);
        QCOMPARE(main->Browser(0)->LocationURL(), Server.Url(landsOn));
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QWebEngineView*>(window));
        QVERIFY(EnginePage(main.get(), 0)->View()->page()->findChildren<QWebEnginePage*>().isEmpty());
    }

    // Two pages that keep opening each other in themselves, behind and in front while the
    // shown site changes: each load replaces the other, nothing piles up.
    void pagesOpeningEachOtherWhileCycling()
    {
        const QByteArray storm = "<script>setInterval(() => { window.open('%1', 'w', 'popup');"
                                 " document.getElementById('link').click(); alert('x'); }, 50);</script>";
        Server.SetPage("/ping", "<html><head><title>Ping</title></head><body><a id=link target=_blank href=/pong>p</a>"
                                    + QByteArray(storm).replace("%1", "/pong") + "</body></html>");
        Server.SetPage("/pong", "<html><head><title>Pong</title></head><body><a id=link target=_blank href=/ping>p</a>"
                                    + QByteArray(storm).replace("%1", "/ping") + "</body></html>");
        StoreSites({"A", "Ping"}, Paths({"/a", "/ping"}),
                   {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}, {"TimerCyclePause", "0"}});
        const int before = Server.Count("/pong");
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(Server.Count("/pong") - before >= 10, 60000);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(!qobject_cast<QWebEngineView*>(window));
            QVERIFY(!(qobject_cast<QDialog*>(window) && window->isVisible()));
        }
        QVERIFY(EnginePage(main.get(), 1)->View()->page()->findChildren<QWebEnginePage*>().isEmpty());
    }

    // Dialogs and new windows asked for in a loop: no dialog, no window, and the page finishes.
    void dialogAndWindowStorm()
    {
        StoreSites({"Storm"}, Paths({"/storm"}));
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(main->Browser(0)->LocationName(), QStringLiteral("B"), 60000);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(!qobject_cast<QWebEngineView*>(window));
            QVERIFY(!(qobject_cast<QDialog*>(window) && window->isVisible()));
        }
        QCOMPARE(main->Browser(0)->LocationURL(), Server.Url("/b"));
        QVERIFY(EnginePage(main.get(), 0)->View()->page()->findChildren<QWebEnginePage*>().isEmpty());
    }

    void aPageThatWantsToStayCanBeLeft()
    {
        StoreSites({"Leave"}, Paths({"/leave"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        main->Browser(0)->Navigate(Server.Url("/a"));
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/a"), 30000);
        main->BrowserButtonClick(main->MainForm->tbHome);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/leave"), 30000);
    }

    // A script that never ends keeps its own renderer busy, not the window or the other pages,
    // and the page is recovered; a page that is merely slow to load is left alone.
    void anEndlessScriptBlocksOnlyItsPage()
    {
        StoreSites({"Busy", "A", "Slow"}, Paths({"/busy", "/a", "/endless"}));
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/busy"), 1, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(EnginePage(main.get(), 2)->View()->page()->renderProcessPid() > 0, 30000);
        const qint64 slow = EnginePage(main.get(), 2)->View()->page()->renderProcessPid();
        QTRY_VERIFY_WITH_TIMEOUT(!main->Browser(1)->Busy() && !main->Browser(1)->LocationURL().isEmpty(), 30000);
        main->SelectPage(1);
        QCOMPARE(main->ActualTitle, QStringLiteral("A"));
        main->BrowserButtonClick(main->MainForm->tbStop);
        main->BrowserButtonClick(main->MainForm->tbRefresh);
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/a"), 2, 30000);
        main->BrowserButtonClick(main->MainForm->tbHome);
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/a"), 3, 30000);
        main->SelectPage(0);
        QCOMPARE(main->CurrentIndex(), 0);
        // Half a minute without an answer and its renderer is ended: the page comes back.
        const qint64 hung = EnginePage(main.get(), 0)->View()->page()->renderProcessPid();
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/busy"), 2, 90000);
        QVERIFY(EnginePage(main.get(), 0)->View()->page()->renderProcessPid() != hung);
        QCOMPARE(Server.Count("/a"), 3);
        // A page that is merely slow to load answers all along and is left alone.
        QCOMPARE(EnginePage(main.get(), 2)->View()->page()->renderProcessPid(), slow);
        QCOMPARE(Server.Count("/endless"), 1);
    }

    // Only the shown page of a window on the screen (not minimised, not covered) is drawn; the
    // others are background pages, as a browser's other tabs are, and go on running scripts.
    void onlyTheShownPageIsDrawn()
    {
        StoreSites({"A", "B"}, Paths({"/frames", "/frames"}));
        TEngineMain main;
        main->MainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        auto state = [&](int i) { return RunScript(EnginePage(main.get(), i), "document.visibilityState").toString(); };
        auto count = [&](int i, const char* name) { return RunScript(EnginePage(main.get(), i), name).toInt(); };
        QTRY_COMPARE_WITH_TIMEOUT(state(0), QStringLiteral("visible"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("hidden"), 10000);
        const int behindDrawn = count(1, "drawn");
        const int behindTicks = count(1, "ticks");
        const int shownDrawn = count(0, "drawn");
        QTRY_VERIFY_WITH_TIMEOUT(count(0, "drawn") > shownDrawn + 30, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(count(1, "ticks") > behindTicks, 10000);
        QCOMPARE(count(1, "drawn"), behindDrawn);

        main->SelectPage(1);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("visible"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(state(0), QStringLiteral("hidden"), 10000);
        const int drawn = count(1, "drawn");
        QTRY_VERIFY_WITH_TIMEOUT(count(1, "drawn") > drawn + 30, 10000);

#ifdef ORVANTA_HAS_XCB
        ReportVisibility(main->MainForm->windowHandle(), XCB_VISIBILITY_FULLY_OBSCURED);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("hidden"), 10000);
        ReportVisibility(main->MainForm->windowHandle(), XCB_VISIBILITY_PARTIALLY_OBSCURED);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("visible"), 10000);
#endif
        // On Wayland the compositor alone knows whether a window is minimised, and says so
        // (or not) as the window's suspended state.
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            return;
        main->MainForm->showMinimized();
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("hidden"), 10000);
        main->MainForm->showNormal();
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("visible"), 10000);
    }

    // Four tiles show four live pages at once, the fifth site waits collapsed.
    void tilesShowFourPagesAtOnce()
    {
        const QStringList colours{"red", "lime", "blue", "yellow", "black"};
        for (const QString& colour : colours)
            Server.SetPage("/" + colour.toLatin1(), "<html><body style='background: " + colour.toLatin1() + "'></body></html>");
        StoreSites(colours, Paths({"/red", "/lime", "/blue", "/yellow", "/black"}), {{"Tiles", "2x2"}});
        TEngineMain main;
        main->MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(main->MainForm));
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        auto state = [&](int i) { return RunScript(EnginePage(main.get(), i), "document.visibilityState").toString(); };
        for (int i = 0; i < 4; ++i)
            QTRY_COMPARE_WITH_TIMEOUT(state(i), QStringLiteral("visible"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(state(4), QStringLiteral("hidden"), 10000);
        const QList<QColor> expected{Qt::red, Qt::green, Qt::blue, Qt::yellow};
        const auto colourAt = [&](int i) {
            QWidget* page = main->Browser(i);
            return main->MainForm->grab().toImage().pixelColor(page->mapTo(main->MainForm, page->rect().center()));
        };
        for (int i = 0; i < 4; ++i)
            QTRY_COMPARE_WITH_TIMEOUT(colourAt(i), expected.at(i), 10000);
    }

    // A live page goes to its screen's window and comes back to the main window, drawing in both.
    void aPageMovesBetweenWindows()
    {
        Server.SetPage("/lime", "<html><body style='background: lime'></body></html>");
        StoreSites({"Main", "Screen"}, Paths({"/frames", "/lime"}));
        QSettings(ConfigFile(), QSettings::IniFormat).setValue("Sites/Screens", ",1");
        TEngineMain main;
        main->MainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QWidget* page = main->Browser(1);
        QVERIFY(page->window() != main->MainForm);
        auto state = [&](int i) { return RunScript(EnginePage(main.get(), i), "document.visibilityState").toString(); };
        QTRY_COMPARE_WITH_TIMEOUT(state(0), QStringLiteral("visible"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("visible"), 10000);
        const auto centre = [&] { return page->window()->grab().toImage().pixelColor(page->mapTo(page->window(), page->rect().center())); };
        QTRY_COMPARE_WITH_TIMEOUT(centre(), QColor(Qt::green), 10000);
        main->ScreenWindows.SetEntries({});
        QCOMPARE(page->window(), main->MainForm);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("hidden"), 10000);
        main->SelectPage(1);
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("visible"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(state(0), QStringLiteral("hidden"), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(centre(), QColor(Qt::green), 10000);
    }

    // The overview has a picture of every page, the collapsed ones' too.
    void theOverviewPicturesEveryPage()
    {
        Server.SetPage("/lime", "<html><body style='background: lime'></body></html>");
        Server.SetPage("/blue", "<html><body style='background: blue'></body></html>");
        StoreSites({"Lime", "Blue"}, Paths({"/lime", "/blue"}));
        TEngineMain main;
        main->MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(main->MainForm));
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        main->MainForm->OverviewMenuItem->trigger();
        auto* overview = main->MainForm->findChild<TfrmOverview*>();
        QVERIFY(overview);
        const auto centre = [&](int i) {
            const QImage picture = overview->Cells.at(i)->icon().pixmap(overview->Cells.at(i)->iconSize()).toImage();
            return picture.isNull() ? QColor() : picture.pixelColor(picture.rect().center());
        };
        QTRY_COMPARE_WITH_TIMEOUT(centre(0), QColor(Qt::green), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(centre(1), QColor(Qt::blue), 10000);
        QTest::keyClick(overview->Cells.at(0), Qt::Key_Escape);
        auto state = [&](int i) { return RunScript(EnginePage(main.get(), i), "document.visibilityState").toString(); };
        QTRY_COMPARE_WITH_TIMEOUT(state(1), QStringLiteral("hidden"), 10000);
    }

    // A page nobody sees has the garbage of its script collected: an element it removed is freed.
    void aBackgroundPageHasItsGarbageCollected()
    {
        StoreSites({"A", "Garbage"}, Paths({"/a", "/garbage"}));
        TEngineMain main;
        main->MainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        TWebEngineBrowser* page = EnginePage(main.get(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!page->View()->page()->isVisible(), 10000);
        QCOMPARE(RunScript(page, "removed.deref() !== undefined").toBool(), true);
        page->View()->page()->findChild<TBackgroundCollector*>()->Collect();
        QTRY_COMPARE_WITH_TIMEOUT(RunScript(page, "removed.deref() === undefined").toBool(), true, 10000);
    }

    // A site that redirects for ever, one of 20 MB and one that never answers hold up neither
    // the other pages nor the commands nor the timer.
    void badSitesBlockNothing()
    {
        StoreSites({"A", "Loop", "Huge", "Endless"}, Paths({"/a", "/loop", "/huge", "/endless"}),
                   {{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "2"}});
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(main->Browser(2)->LocationName(), QStringLiteral("Huge"), 60000);
        QVERIFY(Server.Count("/loop") > 1);
        const int refreshed = Server.Count("/a");
        QTRY_VERIFY_WITH_TIMEOUT(Server.Count("/a") >= refreshed + 2, 30000);
        main->SelectPage(3);
        QCOMPARE(main->ActualTitle, QStringLiteral("Endless"));
        main->SelectPage(0);
        QCOMPARE(main->ActualTitle, QStringLiteral("A"));
        QTRY_VERIFY_WITH_TIMEOUT(!main->Browser(0)->Busy(), 30000);
        main->BrowserButtonClick(main->MainForm->tbHome);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/a"), 30000);
    }

    void anInvalidCertificateIsRefusedSilently()
    {
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        QFile certificate(QStringLiteral(ORVANTA_TEST_DATA "/selfsigned.crt"));
        QFile key(QStringLiteral(ORVANTA_TEST_DATA "/selfsigned.key"));
        QVERIFY(certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
        configuration.setLocalCertificate(QSslCertificate(&certificate));
        configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa));
        QSslServer secure;
        secure.setSslConfiguration(configuration);
        QVERIFY(secure.listen(QHostAddress::LocalHost));
        int requests = 0;
        connect(&secure, &QSslServer::pendingConnectionAvailable, this, [&] {
            while (QTcpSocket* socket = secure.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [&requests] { ++requests; });
        });
        StoreSites({"Secure", "A"}, {QStringLiteral("https://127.0.0.1:%1/").arg(secure.serverPort()), Server.Url("/a")});
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QCOMPARE(requests, 0);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!(qobject_cast<QDialog*>(window) && window->isVisible()));
    }

    // One click trusts exactly that certificate for that address; another certificate there
    // is refused again.
    void aCertificateTrustedForItsSite()
    {
        THttpsServer secure("selfsigned", "127.0.0.2");
        StoreSites({"Secure"}, {secure.Url()});
        {
            TEngineMain main;
            QTRY_VERIFY_WITH_TIMEOUT(CertificatePageShown(main.get()), 30000);
            TCertificatePage* page = EnginePage(main.get(), 0)->CertificatePage();
            QCOMPARE(secure.Requests, 0);
            QVERIFY(page->lblReason->text().contains("not issued by an authority this computer trusts"));
            const QString fingerprint = QString::fromLatin1(secure.Certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
            QVERIFY2(page->lblDetails->text().remove("<br>").contains(fingerprint), qPrintable(page->lblDetails->text()));
            QVERIFY(page->lblDetails->text().contains("127.0.0.1"));
            QVERIFY(page->lblDetails->text().contains(QLocale().toString(secure.Certificate.expiryDate(), QLocale::ShortFormat)));
            QVERIFY(!page->btnTrust->isHidden());
            page->btnTrust->click();
            QTRY_COMPARE_WITH_TIMEOUT(main->Browser(0)->LocationName(), QStringLiteral("Secure"), 30000);
            QVERIFY(page->isHidden());
            QCOMPARE(main->Registry()->TrustedCertificates, QStringList{secure.Entry()});
        }
        QCOMPARE(FromCommaText(QSettings(ConfigFile(), QSettings::IniFormat).value("Certificates/Trusted").toString()),
                 QStringList{secure.Entry()});
        secure.Use("other");
        TEngineMain again;
        QTRY_VERIFY_WITH_TIMEOUT(CertificatePageShown(again.get()), 30000);
        QVERIFY(EnginePage(again.get(), 0)->CertificatePage()->lblNote->text().contains("has changed"));
        QCOMPARE(again->Browser(0)->LocationName() == QStringLiteral("Secure"), false);
    }

    // The administrator's locked list is the only one: no button, and it says who decides.
    void aLockedCertificateListIsTheOnlyOne()
    {
        THttpsServer secure("selfsigned", "127.0.0.3");
        StoreSites({"Secure"}, {secure.Url()});
        WriteSystemConfig("[Certificates]\nTrusted=\nLocked=true\n");
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(CertificatePageShown(main.get()), 30000);
        TCertificatePage* page = EnginePage(main.get(), 0)->CertificatePage();
        QVERIFY(page->btnTrust->isHidden());
        QVERIFY(page->lblNote->text().contains("Your administrator manages these settings."));
        WriteSystemConfig({});
    }

    // With no keyring the sign-in form says so; refused credentials are sent once and the form
    // comes back with the focus in the password field; its own mnemonics win over the
    // toolbar's; accepted ones, kept in the private file, sign in again at the next start.
    void signInWithoutAKeyring()
    {
        if (qEnvironmentVariableIsSet("ORVANTA_TEST_KEYRING"))
            QSKIP("Runs where no keyring is.");
        Server.SetPage("/console", Titled("Console"));
        Server.SetSignIn("/console", "ann", "right");
        StoreSites({"Console", "A"}, Paths({"/console", "/a"}));
        {
            TEngineMain main;
            TWebEngineBrowser* page = EnginePage(main.get(), 0);
            QTRY_VERIFY_WITH_TIMEOUT(page->SignInPage() && !page->SignInPage()->isHidden(), 30000);
            TSignInPage* form = page->SignInPage();
            QVERIFY(!form->lblNoKeyring->isHidden());
            QVERIFY(form->lblRefused->isHidden());
            QVERIFY(form->lblSite->text().contains("Console"));
            QCOMPARE(main->MainForm->tcBrowserContainer->TabText(0), QStringLiteral("Console (sign in)"));
            QCOMPARE(page->LoadState(), TLoadState::SignIn);
            QVERIFY(!form->edtUser->hasFocus());

            main->MainForm->show();
            main->MainForm->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(main->MainForm));
            form->edtUser->setText("ann");
            form->edtPassword->setFocus();
            form->edtPassword->setText("wrong");
            QTest::keyClick(form->edtPassword, Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(!form->isHidden() && !form->lblRefused->isHidden(), 30000);
            QCOMPARE(Authorizations("/console").count("Basic " + QByteArray("ann:wrong").toBase64()), 1);
            QTRY_VERIFY(form->edtPassword->hasFocus());
            QCOMPARE(form->edtUser->text(), QStringLiteral("ann"));

            TMessageLog messages;
            form->edtPassword->setText("right");
            QTest::keyClick(form->edtPassword, Qt::Key_R, Qt::AltModifier);
            QTRY_VERIFY(form->cbRemember->isChecked());
            QTest::keyClick(form->edtPassword, Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(form->cbInFile->isChecked());
            QVERIFY(messages.Messages.isEmpty());
            form->btnSignIn->click();
            QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("Console"), 30000);
            QVERIFY(form->isHidden());
            // The mark goes when the load has finished, which may come after the title.
            QTRY_COMPARE_WITH_TIMEOUT(main->MainForm->tcBrowserContainer->TabText(0), QStringLiteral("Console"), 30000);
            QCOMPARE(Authorizations("/console").count("Basic " + QByteArray("ann:wrong").toBase64()), 1);
        }
        QVERIFY(!ReadConfig().contains("right"));
        QVERIFY(!ReadConfig().contains(QByteArray("ann:right").toBase64()));
        const QString file = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Credentials/credentials.ini";
        QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser), QFile::ReadOwner | QFile::WriteOwner);
        const int before = Authorizations("/console").size();
        TEngineMain again;
        QTRY_COMPARE_WITH_TIMEOUT(again->Browser(0)->LocationName(), QStringLiteral("Console"), 30000);
        QVERIFY(!EnginePage(again.get(), 0)->SignInPage() || EnginePage(again.get(), 0)->SignInPage()->isHidden());
        QVERIFY(Authorizations("/console").mid(before).contains("Basic " + QByteArray("ann:right").toBase64()));
        QFile::remove(file);
    }

    // With a keyring, remembered credentials go there (and nowhere else) and sign in again at
    // the next start without the form. Run by the suite beside a keyring of its own.
    void signInFromTheKeyring()
    {
        if (!qEnvironmentVariableIsSet("ORVANTA_TEST_KEYRING"))
            QSKIP("Needs a keyring (tests/with-keyring.sh).");
        Server.SetPage("/vault", Titled("Vault"));
        Server.SetSignIn("/vault", "bob", "secret");
        StoreSites({"Vault"}, Paths({"/vault"}));
        {
            TEngineMain main;
            TWebEngineBrowser* page = EnginePage(main.get(), 0);
            QTRY_VERIFY_WITH_TIMEOUT(page->SignInPage() && !page->SignInPage()->isHidden(), 30000);
            TSignInPage* form = page->SignInPage();
            QVERIFY(form->lblNoKeyring->isHidden());
            form->edtUser->setText("bob");
            form->edtPassword->setText("secret");
            form->cbRemember->setChecked(true);
            form->btnSignIn->click();
            QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("Vault"), 30000);
        }
        QVERIFY(!ReadConfig().contains("secret"));
        QVERIFY(!QFile::exists(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Credentials/credentials.ini"));
        TEngineMain again;
        QTRY_COMPARE_WITH_TIMEOUT(again->Browser(0)->LocationName(), QStringLiteral("Vault"), 30000);
        QVERIFY(!EnginePage(again.get(), 0)->SignInPage() || EnginePage(again.get(), 0)->SignInPage()->isHidden());
    }

    // A download lands in the download folder under a safe name and is told at the foot of the
    // window; one cut short leaves nothing behind and says so, as does one cancelled while it
    // runs. The shown page stays.
    void downloadsLandInTheDownloadFolder()
    {
        QTemporaryDir folder;
        QFile dirs(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOWNLOAD_DIR=\"" + folder.path().toUtf8() + "\"\n");
        dirs.close();
        Server.SetPage("/report", "a,b\n1,2\n", "Content-Disposition: attachment; filename=\"../../.report.csv\"\r\n");
        Server.SetCut("/broken", "Content-Disposition: attachment; filename=\"broken.bin\"\r\n");
        Server.SetStalled("/slow", "Content-Disposition: attachment; filename=\"slow.bin\"\r\n");
        Server.SetStalled("/slow2", "Content-Disposition: attachment; filename=\"slow2.bin\"\r\n");
        Server.SetPage("/downloads", "<html><head><title>Downloads</title></head><body><a id=r href=/report>r</a>"
                                     "<a id=b href=/broken>b</a><a id=s href=/slow>s</a><a id=t href=/slow2>t</a></body></html>");
        StoreSites({"A", "Downloads"}, Paths({"/a", "/downloads"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        RunScript(EnginePage(main.get(), 1), "document.getElementById('r').click()");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("report.csv")), 30000);
        TfrmMain* form = main->MainForm;
        QTRY_VERIFY_WITH_TIMEOUT(form->lblDownloadNote->text().contains("report.csv is saved in"), 30000);
        QVERIFY(!form->pnlDownloadNote->isHidden());
        QFile saved(folder.filePath("report.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("a,b\n1,2\n"));
        RunScript(EnginePage(main.get(), 1), "document.getElementById('b').click()");
        QTRY_VERIFY_WITH_TIMEOUT(form->lblDownloadNote->text().contains("The download of broken.bin failed"), 30000);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.csv"});
        QVERIFY(form->btnCancelDownload->isHidden());

        // While one runs, × puts the line away for good and Cancel leaves no file.
        RunScript(EnginePage(main.get(), 1), "document.getElementById('s').click()");
        QTRY_VERIFY_WITH_TIMEOUT(form->lblDownloadNote->text().contains("Downloading slow.bin"), 30000);
        QVERIFY(!form->btnCancelDownload->isHidden());
        form->btnCloseDownloadNote->click();
        QVERIFY(form->pnlDownloadNote->isHidden());
        RunScript(EnginePage(main.get(), 1), "document.getElementById('t').click()");
        QTRY_VERIFY_WITH_TIMEOUT(form->lblDownloadNote->text().contains("Downloading slow2.bin"), 30000);
        QVERIFY(!form->pnlDownloadNote->isHidden());
        form->btnCancelDownload->click();
        QTRY_VERIFY_WITH_TIMEOUT(form->lblDownloadNote->text().contains("The download of slow2.bin is cancelled."), 30000);
        QVERIFY(form->btnCancelDownload->isHidden());
        QTRY_VERIFY(!QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).join(' ').contains("slow2"));
        QCOMPARE(main->CurrentIndex(), 0);
        // A link that became a download left its page as it was: no failure on its tab.
        QCOMPARE(main->MainForm->tcBrowserContainer->TabText(1), QStringLiteral("Downloads"));
        QCOMPARE(main->Browser(1)->LocationURL(), Server.Url("/downloads"));
        dirs.remove();
    }

    // Ctrl+F finds as you type and counts; Enter, Shift+Enter and F3 step through the matches;
    // Escape closes the field and gives the page its focus back; another site closes it.
    void findInThePage()
    {
        Server.SetPage("/apples", "<html><head><title>Apples</title></head><body><p>apple pear apple plum apple</p></body></html>");
        StoreSites({"Apples", "A"}, Paths({"/apples", "/a"}));
        TEngineMain main;
        TfrmMain* form = main->MainForm;
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        form->FindAction->trigger();
        QVERIFY(!form->pnlFind->isHidden());
        QTRY_VERIFY(form->edtFind->hasFocus());
        QTest::keyClicks(form->edtFind, "apple");
        QTRY_COMPARE_WITH_TIMEOUT(form->lblFindMatches->text(), QStringLiteral("1 of 3"), 30000);
        QTest::keyClick(form->edtFind, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(form->lblFindMatches->text(), QStringLiteral("2 of 3"), 30000);
        QTest::keyClick(form->edtFind, Qt::Key_Return, Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(form->lblFindMatches->text(), QStringLiteral("1 of 3"), 30000);
        form->FindNextAction->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(form->lblFindMatches->text(), QStringLiteral("2 of 3"), 30000);
        QTest::keyClicks(form->edtFind, "x");
        QTRY_COMPARE_WITH_TIMEOUT(form->lblFindMatches->text(), QStringLiteral("No matches"), 30000);
        QTest::keyClick(form->edtFind, Qt::Key_Escape);
        QVERIFY(form->pnlFind->isHidden());
        QTRY_COMPARE(QApplication::focusWidget(), main->Browser(0)->Application());
        form->FindAction->trigger();
        QVERIFY(!form->pnlFind->isHidden());
        main->SelectPage(1);
        QVERIFY(form->pnlFind->isHidden());
    }

    // Ctrl+P prints the shown page; printing to a PDF file needs no printer.
    void printsToAPdfFile()
    {
        QTemporaryDir folder;
        const QString pdf = folder.filePath("page.pdf");
        const TPrintDialogHook previous = SetPrintDialogHook([&pdf](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        });
        TMessageLog messages;
        StoreSites({"A"}, Paths({"/a"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        main->MainForm->PrintAction->trigger();
        const auto start = [&pdf] {
            QFile file(pdf);
            return file.open(QIODevice::ReadOnly) ? file.read(5) : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(start(), QByteArray("%PDF-"), 60000);
        SetPrintDialogHook(previous);
        QCOMPARE(messages.Texts(), QStringList());
    }

    // A permission request gets a bar across its own page, which waits and never takes the
    // shown one; Allow settles the page's promise with "granted" and is kept, Block with "denied".
    // The find field opened over a page that asks leaves its buttons free.
    void permissionsAreAskedOnce()
    {
        Server.SetPage("/ask", "<html><head><title>Asking</title></head><body><script>"
                               "Notification.requestPermission().then(answer => document.title = answer);</script></body></html>");
        QString other = Server.Url("/ask");
        other.replace("127.0.0.1", "localhost");
        StoreSites({"A", "Ask", "Other"}, {Server.Url("/a"), Server.Url("/ask"), other});
        {
            TEngineMain main;
            TWebEngineBrowser* page = EnginePage(main.get(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(page->PermissionBar() && !page->PermissionBar()->isHidden(), 30000);
            QVERIFY(page->PermissionBar()->lblQuestion->text().contains("127.0.0.1 wants to show notifications"));
            QCOMPARE(page->LocationName(), QStringLiteral("Asking"));
            QCOMPARE(main->CurrentIndex(), 0);
            // Answered where it is seen: a page not shown takes no input.
            QVERIFY(!page->PermissionBar()->btnAllow->isEnabled());
            main->SelectPage(1);
            page->PermissionBar()->btnAllow->click();
            QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("granted"), 30000);
            QVERIFY(page->PermissionBar()->isHidden());
            TWebEngineBrowser* blocked = EnginePage(main.get(), 2);
            QTRY_VERIFY_WITH_TIMEOUT(blocked->PermissionBar() && !blocked->PermissionBar()->isHidden(), 30000);
            TfrmMain* form = main->MainForm;
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            main->SelectPage(2);
            form->FindAction->trigger();
            const auto onForm = [form](QWidget* part) { return QRect(part->mapTo(form, QPoint()), part->size()); };
            for (QWidget* button : {blocked->PermissionBar()->btnAllow, blocked->PermissionBar()->btnBlock})
                QVERIFY(!onForm(button).intersects(onForm(form->pnlFind)));
            // The bar pushes the page down rather than hiding its top, and answered by keyboard
            // it gives the keys back to the page.
            QTRY_VERIFY(blocked->View()->geometry().top() > blocked->PermissionBar()->geometry().bottom());
            form->activateWindow();
            blocked->PermissionBar()->btnBlock->setFocus();
            QTest::keyClick(blocked->PermissionBar()->btnBlock, Qt::Key_Space);
            QTRY_COMPARE_WITH_TIMEOUT(blocked->LocationName(), QStringLiteral("denied"), 30000);
            const QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused && (focused == blocked->Application() || blocked->Application()->isAncestorOf(focused)));
        }
        const QString origin = TPermissionDecisions::OriginOf(QUrl(Server.Url("/")));
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        QCOMPARE(FromCommaText(stored.value("Permissions/Decisions").toString()),
                 (QStringList{origin + " notifications allow", TPermissionDecisions::OriginOf(QUrl(other)) + " notifications block"}));
        const TPermissionDecisions again(FromCommaText(stored.value("Permissions/Decisions").toString()), false);
        QCOMPARE(again.Allowed(QUrl(Server.Url("/other-page")), "notifications"), std::optional<bool>(true));
        QCOMPARE(again.Allowed(QUrl(other), "notifications"), std::optional<bool>(false));
    }

    // A title that starts with an unread count puts the count beside the site's tab caption;
    // the stored title and the caption stay as they are.
    void anUnreadCountShowsOnTheTab()
    {
        Server.SetPage("/mail", "<html><head><title>Inbox</title></head><body><script>"
                                "setTimeout(() => document.title = '(3) Inbox', 100);</script></body></html>");
        StoreSites({"A", "Mail"}, Paths({"/a", "/mail"}));
        TEngineMain main;
        TTabControl* tabs = main->MainForm->tcBrowserContainer;
        QTRY_COMPARE_WITH_TIMEOUT(tabs->TabBadge(1), QStringLiteral("3"), 30000);
        QCOMPARE(tabs->TabText(1), QStringLiteral("Mail"));
        QCOMPARE(main->Registry()->Titles.at(1), QStringLiteral("Mail"));
        QCOMPARE(tabs->TabBadge(0), QString());
        RunScript(EnginePage(main.get(), 1), "document.title = 'Inbox'");
        QTRY_COMPARE_WITH_TIMEOUT(tabs->TabBadge(1), QString(), 30000);
    }

    // A site's own style hides what it names, from the start, after the page takes its style
    // elements away, and after a reload; a site without one is untouched.
    void aSiteStyleHidesWhatItNames()
    {
        Server.SetPage("/styled", "<html><body><header id=h>Header</header><p>Main</p></body></html>");
        StoreSites({"Styled", "Plain"}, Paths({"/styled", "/styled"}));
        QSettings(ConfigFile(), QSettings::IniFormat).setValue("Sites/Styles", "\"header { display: none }\",");
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        const auto display = [&](int i) {
            return RunScript(EnginePage(main.get(), i), "getComputedStyle(document.getElementById('h')).display").toString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(display(0), QStringLiteral("none"), 10000);
        QCOMPARE(display(1), QStringLiteral("block"));
        // The plain site ran nothing of a style or a scroll in the program's own world.
        QCOMPARE(RunScript(EnginePage(main.get(), 1), "typeof orvantaSiteStyle + typeof orvantaScroll", QWebEngineScript::ApplicationWorld),
                 QVariant(QStringLiteral("undefinedundefined")));
        RunScript(EnginePage(main.get(), 0), "document.querySelectorAll('style').forEach(s => s.remove()); 0");
        QTRY_COMPARE_WITH_TIMEOUT(display(0), QStringLiteral("none"), 10000);
        EnginePage(main.get(), 0)->Refresh2();
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/styled"), 3, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QCOMPARE(display(0), QStringLiteral("none"));
    }

    // A long page scrolls down by itself after its rest at the top.
    void aLongPageScrollsByItself()
    {
        Server.SetPage("/long", "<html><body style='margin: 0'><div style='height: 6000px'>Long</div></body></html>");
        StoreSites({"Long"}, Paths({"/long"}));
        QSettings(ConfigFile(), QSettings::IniFormat).setValue("Sites/Scrolls", "4");
        TEngineMain main;
        main->MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(main->MainForm));
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(RunScript(EnginePage(main.get(), 0), "window.scrollY").toDouble() > 100, 30000);
    }

    void crashedRendererComesBack()
    {
        StoreSites({"A", "B"}, Paths({"/a", "/b"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        const qint64 pid = EnginePage(main.get(), 0)->View()->page()->renderProcessPid();
        QVERIFY(pid > 0);
        ::kill(pid, SIGKILL);
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/a"), 2, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        QCOMPARE(RunScript(EnginePage(main.get(), 0), "document.title").toString(), QStringLiteral("A"));
    }

    // Pages of different sites never share a renderer, whatever the engine is told to save.
    void everySiteRendersInAProcessOfItsOwn()
    {
        QString otherSite = Server.Url("/b");
        otherSite.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
        StoreSites({"A", "B"}, {Server.Url("/a"), otherSite});
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        const qint64 first = EnginePage(main.get(), 0)->View()->page()->renderProcessPid();
        const qint64 second = EnginePage(main.get(), 1)->View()->page()->renderProcessPid();
        QVERIFY(first > 0);
        QVERIFY(second > 0);
        QVERIFY(first != second);
        // What each renderer holds for itself is known, for the memory ceiling.
        QVERIFY(main->Browser(0)->RendererMemory() > 1024 * 1024);
    }

    void backAndForward()
    {
        StoreSites({"A"}, Paths({"/a"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        TMessageLog log;
        main->BrowserButtonClick(main->MainForm->tbBack);
        QCOMPARE(log.Texts(), QStringList{"Can't go back in browser history."});
        main->Browser(0)->Navigate(Server.Url("/b"));
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/b"), 30000);
        main->BrowserButtonClick(main->MainForm->tbBack);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/a"), 30000);
        main->BrowserButtonClick(main->MainForm->tbForward);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/b"), 30000);
        main->BrowserButtonClick(main->MainForm->tbForward);
        QCOMPARE(log.Texts().last(), QStringLiteral("Can't go forward in browser history."));
        main->BrowserButtonClick(main->MainForm->tbHome);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, Server.Url("/a"), 30000);
    }

    // The zoom belongs to the site: kept across a document of another site in a new renderer,
    // and zooming never reloads.
    void zoomStaysThroughNavigation()
    {
        StoreSites({"A"}, Paths({"/a"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        TWebEngineBrowser* page = EnginePage(main.get(), 0);
        main->MainForm->ZoomInAction->trigger();
        main->MainForm->ZoomInAction->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(RunScript(page, "window.devicePixelRatio").toDouble(), 1.25, 10000);
        QString otherSite = Server.Url("/b");
        otherSite.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
        page->Navigate(otherSite);
        QTRY_COMPARE_WITH_TIMEOUT(main->ActualAddress, otherSite, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(RunScript(page, "window.devicePixelRatio").toDouble(), 1.25, 10000);
        QCOMPARE(Server.Count("/a"), 1);
        QCOMPARE(main->Registry()->Zooms, QStringList{"125"});
    }

    // Keys that change a form field in a real page hold its automatic refresh back; keys
    // that move about or copy do not.
    void typingIntoAPageIsNoticed_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("typing");
        QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << true;
        QTest::newRow("an arrow") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
        QTest::newRow("copy") << int(Qt::Key_C) << int(Qt::ControlModifier) << false;
    }
    void typingIntoAPageIsNoticed()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        StoreSites({"Form", "A"}, Paths({"/form", "/a"}));
        TEngineMain main;
        main->MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(main->MainForm));
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        EnginePage(main.get(), 0)->View()->setFocus();
        QTest::keyClick(main->Browser(0)->Application(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(main->RefreshTicks.TypedRecently(0), "typing");
        QVERIFY(!main->RefreshTicks.TypedRecently(1));
    }

    // A site that is down at start is loaded once it comes up, with no one's help, behind the
    // shown page and without taking its place.
    void aSiteDownAtStartLoadsWhenItComesUp()
    {
        THttpServer later;
        later.SetPage("/up", Titled("Up"));
        const QString address = later.Url("/up");
        const quint16 port = later.serverPort();
        later.close();
        StoreSites({"A", "Later"}, {Server.Url("/a"), address});
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        // Its tab says so meanwhile, and no more once it is up.
        TTabControl* tabs = main->MainForm->tcBrowserContainer;
        QTRY_COMPARE_WITH_TIMEOUT(tabs->TabText(1), QStringLiteral("Later (failed)"), 30000);
        QVERIFY(later.listen(QHostAddress::LocalHost, port));
        QTRY_COMPARE_WITH_TIMEOUT(main->Browser(1)->LocationName(), QStringLiteral("Up"), 30000);
        QCOMPARE(tabs->TabText(1), QStringLiteral("Later"));
        QCOMPARE(later.Count("/up"), 1);
        QCOMPARE(main->CurrentIndex(), 0);
    }

    void whichFailuresAreTriedAgain_data()
    {
        QTest::addColumn<int>("domain");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("retried");
        QTest::newRow("connection refused") << int(QWebEngineLoadingInfo::ConnectionErrorDomain) << -102 << true;
        QTest::newRow("connection reset") << int(QWebEngineLoadingInfo::ConnectionErrorDomain) << -101 << true;
        QTest::newRow("name not resolved") << int(QWebEngineLoadingInfo::ConnectionErrorDomain) << -105 << true;
        QTest::newRow("DNS") << int(QWebEngineLoadingInfo::DnsErrorDomain) << -800 << true;
        QTest::newRow("timed out") << int(QWebEngineLoadingInfo::InternalErrorDomain) << -7 << true;
        QTest::newRow("network changed") << int(QWebEngineLoadingInfo::InternalErrorDomain) << -21 << true;
        QTest::newRow("stopped by the user") << int(QWebEngineLoadingInfo::InternalErrorDomain) << -3 << false;
        QTest::newRow("HTTP 404") << int(QWebEngineLoadingInfo::HttpErrorDomain) << 404 << false;
        QTest::newRow("bad certificate") << int(QWebEngineLoadingInfo::CertificateErrorDomain) << -202 << false;
    }
    void whichFailuresAreTriedAgain()
    {
        QFETCH(int, domain);
        QFETCH(int, code);
        QTEST(TLoadRetry::IsNetworkFailure(QWebEngineLoadingInfo::ErrorDomain(domain), code), "retried");
    }

    void pausesBetweenTries()
    {
        QList<int> pauses;
        for (int failures = 1; failures <= 9; ++failures)
            pauses.append(TLoadRetry::PauseMs(failures) / 1000);
        QCOMPARE(pauses, (QList<int>{5, 10, 20, 40, 80, 160, 300, 300, 300}));
    }

    void refreshAllReachesEveryPageOnce()
    {
        StoreSites({"A", "B", "C"}, Paths({"/a", "/b", "/c"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        main->AllSitesClick(main->MainForm->AllSitesReloadMenuItem);
        for (const QString& path : {"/a", "/b", "/c"})
            QTRY_COMPARE_WITH_TIMEOUT(Server.Count(path), 2, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        for (const QString& path : {"/a", "/b", "/c"})
            QCOMPARE(Server.Count(path), 2);
    }

    void stopEndsASlowPage()
    {
        StoreSites({"Endless", "A"}, Paths({"/endless", "/a"}));
        TEngineMain main;
        QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/endless"), 1, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!main->Browser(1)->Busy() && !main->Browser(1)->LocationURL().isEmpty(), 30000);
        QVERIFY(main->Browser(0)->Busy());
        main->BrowserButtonClick(main->MainForm->tbStop);
        QTRY_VERIFY_WITH_TIMEOUT(!main->Browser(0)->Busy(), 30000);
        QVERIFY(main->MainForm->ProgressBar->isHidden());
    }

    void copyUrlTakesTheShownPage()
    {
        StoreSites({"A", "B"}, Paths({"/a", "/b"}));
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(AllLoaded(main.get()), 30000);
        main->SelectPage(1);
        main->TabMenuClick(main->MainForm->miCopyURL);
        QCOMPARE(QGuiApplication::clipboard()->text(), Server.Url("/b"));
    }

    void cookiesSurviveARestart()
    {
        QTemporaryDir root;
        const QProcessEnvironment environment = ProgramEnvironment(root.path());
        StoreSitesIn(ConfigFileUnder(root.path()), {"Cookie"}, Paths({"/cookie"}));
        for (int run = 1; run <= 2; ++run) {
            QProcess program;
            StartProgram(program, environment);
            QTRY_COMPARE_WITH_TIMEOUT(Server.Count("/cookie"), run, 30000);
            // Give the engine the response before the program closes.
            QTRY_VERIFY_WITH_TIMEOUT(QDir(root.filePath("xdg_data_home")).entryList(QDir::AllDirs | QDir::NoDotAndDotDot).size() > 0, 30000);
            SendSignal(program, SIGTERM);
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitCode(), 0);
        }
        QList<THttpServer::TRequest> visits;
        for (const THttpServer::TRequest& request : Server.Requests) {
            if (request.Path == QLatin1String("/cookie"))
                visits.append(request);
        }
        QCOMPARE(visits.size(), 2);
        QVERIFY(!visits.first().Headers.contains("cookie"));
        QVERIFY2(visits.last().Headers.value("cookie").contains("visit=1"), visits.last().Headers.value("cookie").constData());
    }

    // Two sites of one host in profiles of their own: a cookie one of them got is the other's
    // neither now nor after a restart.
    void profilesKeepTheirOwnCookies()
    {
        QTemporaryDir root;
        const QProcessEnvironment environment = ProgramEnvironment(root.path());
        const QString config = ConfigFileUnder(root.path());
        for (const QStringList& paths : {QStringList{"/cookie", "/b"}, QStringList{"/a", "/c"}}) {
            StoreSitesIn(config, {"One", "Two"}, Paths(paths));
            QSettings(config, QSettings::IniFormat).setValue("Sites/Profiles", "one,two");
            const int before = Server.Count(paths.at(0)) + Server.Count(paths.at(1));
            QProcess program;
            StartProgram(program, environment);
            QTRY_COMPARE_WITH_TIMEOUT(Server.Count(paths.at(0)) + Server.Count(paths.at(1)), before + 2, 30000);
            QTRY_VERIFY_WITH_TIMEOUT(QDir(root.filePath("xdg_data_home")).entryList(QDir::AllDirs | QDir::NoDotAndDotDot).size() > 0, 30000);
            SendSignal(program, SIGTERM);
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitCode(), 0);
        }
        const auto cookieOf = [this](const QString& path) {
            for (const THttpServer::TRequest& request : Server.Requests) {
                if (request.Path == path)
                    return request.Headers.value("cookie");
            }
            return QByteArray("<no request>");
        };
        QVERIFY2(cookieOf("/a").contains("visit=1"), cookieOf("/a").constData());
        QCOMPARE(cookieOf("/b"), QByteArray());
        QCOMPARE(cookieOf("/c"), QByteArray());
        QVERIFY(QDir(root.filePath("xdg_data_home")).entryList(QDir::AllDirs | QDir::NoDotAndDotDot).size() > 0);
    }
};

ORVANTA_TEST_MAIN(TestWebEngine)
#include "tst_webengine.moc"
