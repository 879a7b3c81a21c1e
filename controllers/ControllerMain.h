#pragma once

#include "browser/WebBrowser.h"
#include "controllers/ControllerRegistry.h"
#include "controllers/webapps/DownloadNote.h"
#include "controllers/webapps/FindInPage.h"
#include "controllers/wall/AutoScroll.h"
#include "controllers/wall/FullScreen.h"
#include "controllers/FirstStart.h"
#include "controllers/InputWatch.h"
#include "controllers/wall/MemoryCeiling.h"
#include "controllers/wall/Overview.h"
#include "controllers/wall/PageZoom.h"
#include "controllers/wall/ScreenPower.h"
#include "controllers/wall/ScreenWindows.h"
#include "controllers/wall/Stage.h"
#include "controllers/webapps/Permissions.h"
#include "controllers/RefreshTicks.h"
#include "controllers/TabMarks.h"
#include "controllers/SettingsKeeper.h"
#include "controllers/webapps/SignIns.h"
#include "controllers/webapps/TrustedCertificates.h"
#include "controllers/webapps/UnreadCounts.h"
#include "platform/BareSessionFocus.h"
#ifdef ORVANTA_HAS_DBUS
#include "controllers/remote/RemoteControl.h"
#include "controllers/webapps/SiteNotifications.h"
#endif
#ifdef ORVANTA_HAS_MQTT
#include "controllers/remote/MqttRemote.h"
#endif
#include "shared/KestControllerCustomMain.h"
#include "views/ViewMain.h"

#include <QDateTime>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// The application's controller: it holds the running program's state, builds one browser
// page per site, and answers the main window's commands, the pages' progress and the timer.
// ControllerMain.cpp holds its life, the pages and the keyboard hook; ControllerMainCommands,
// -Status, -Timer, -Setup and -Stages the commands, the status display, the automations, the
// setup dialog's opening and where the pages are shown (tiles, screens, the overview).
class TCMain : public TCCustomMain<TfrmMain, TCRegistry>
{
    Q_OBJECT

public:
    TCMain();
    // Pages come from the factory: the web engine in the program, a stand-in in tests.
    explicit TCMain(TWebBrowserFactory createBrowser);
    ~TCMain() override;

    std::vector<std::unique_ptr<TWebBrowser>> Browsers;
    std::unique_ptr<QTimer> Timer;
    TRefreshTicks RefreshTicks;
    // The local time the automations go by, read at every tick (tests set their own).
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };
    bool AllPages = false;
    bool ShowAccelerators = false;
    // The site the commands go to, as last shown.
    int ShownIndex = 0;
    // The main window's own sites; the others have their screens'.
    TStage MainStage;
    QString ActualAddress;
    QString ActualTitle;
    int HoverTabIndex = 0;

    // Pages and page selector.
    void ApplyLayout();
    void BuildPages();
    int CurrentIndex() const;
    void ShowSelectedPage();
    void SelectPage(int index);
    void TabMenuPopup();
    // The site keys: the next or previous site (wrapping), or the one an action names.
    void SiteKeyClick(QObject* sender);
    // The page at index, or null.
    TWebBrowser* Browser(int index) const;
    // The page that holds a widget, or -1.
    int PageOf(const QWidget* widget) const;
    // Where a site is shown, and the sites shown there, in order.
    TStage& StageOf(int site);
    QList<int> SitesOn(const TStage& stage);
    // The sites shown with `site` on its stage: itself alone, or its tile group.
    QList<int> GroupOf(int site);
    // What takes the keys: the shown page (on a first start, the welcome page's button).
    QWidget* KeyTarget() const;
    void FocusShownPage();
    // The site's page is in sight: the shown one, a shown tile or on its screen's window.
    bool IsShown(int site);

    // Navigation and site commands.
    void BrowserButtonClick(QObject* sender);
    void AllSitesClick(QObject* sender);
    void TabMenuClick(QObject* sender);
    void UpdateButtonCaptions(Qt::KeyboardModifiers shift);
    void AddressKeyPress(QChar key);
    void ExitClick();

    // Status display.
    void BrowserProgressChange(TWebBrowser* sender, int progress, int progressMax);
    void TabMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void SetSiteTitle(const QString& title);

    // Setup dialog, opened on the page that the clicked item names.
    void SetupClick(QObject* sender);

    // Automation timers; the timer runs while an automation is on.
    void TimerTick();
    void EnableTimerByRule();

    void FullScreenClick();

    // Keeps keyboard input with the shown page; true when the event is handled.
    bool ApplicationMessage(QObject* receiver, QEvent* event);

Q_SIGNALS:
    // Another site fills the window.
    void ShownChanged(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void ProcessMessages();

    void BindEvents();
    void LockSiteCommands();
    // The first site after the stage's shown group that takes part in cycling now; -1: none.
    int NextCyclingSite(TStage& stage, const QDateTime& now);
    void CycleStage(TStage& stage, const QDateTime& now);
    std::vector<TStage*> Stages();
    void ShowOnStage(TStage& stage, int site);
    // Every page into the window of its stage, and each stage showing a group of its own.
    void PlacePages();
    // The tile of the site the commands go to is framed.
    void MarkSelectedTile();
    // A click into a tile that is shown picks its site.
    void PickTileAt(QWidget* receiver);
    // Every page drawn, for the overview's pictures, the shown ones still on top.
    void RevealPages();
    QList<TOverviewSite> OverviewSites();
    void StopPages(bool allPages);
    QString ChangeSignature();
    // Each page's own style and scrolling pace, from the settings.
    void ApplySiteLooks();
#ifdef ORVANTA_HAS_MQTT
    void ShowMqtt(class TfrmSetup& dialog);
    void TakeMqtt(class TfrmSetup& dialog);
#endif

    TWebBrowserFactory FCreateBrowser;

public:
    // Beyond the pages and their commands: the behaviours a wall screen needs.
    TFullScreen FullScreen;
    TScreenPower ScreenPower;
    TScreenWindows ScreenWindows;
    TOverview Overview;
    TFirstStart FirstStart;
    TBareSessionFocus BareSessionFocus;
    TSettingsKeeper SettingsKeeper;
    TPageZoom Zoom;
    TInputWatch Input;
    TMemoryCeiling MemoryCeiling;
    TAutoScroll AutoScroll;
    TTrustedCertificates Certificates;
    TSignIns SignIns;
    TTabMarks TabMarks;
    TPermissions Permissions;
    TUnreadCounts UnreadCounts;
    TDownloadNote DownloadNote;
    TFindInPage FindInPage;
    TPrintPage PrintPage;
#ifdef ORVANTA_HAS_DBUS
    TSiteNotifications Notifications{*this};
    std::unique_ptr<TRemoteControl> Remote;
#endif
#ifdef ORVANTA_HAS_MQTT
    // Only where the settings name a broker.
    std::unique_ptr<TMqttRemote> Mqtt;
    // Connects to the settings' broker anew (none: MQTT off), with a password just typed.
    void StartMqtt(const QString& typedPassword = QString());
#endif
};
