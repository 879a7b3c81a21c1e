#include "controllers/ControllerMain.h"

#include "browser/WebEngineBrowser.h"
#include "platform/AlignLayout.h"
#include "platform/HintSwitch.h"
#include "platform/TabControl.h"
#include "shared/KestException.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>

void TCMain::ProcessMessages()
{
    QCoreApplication::processEvents();
}

TCMain::TCMain() : TCMain(&TWebEngineBrowser::Create) {}

TCMain::TCMain(TWebBrowserFactory createBrowser)
    : FCreateBrowser(std::move(createBrowser)), FullScreen(MainForm), ScreenPower(MainForm, [this] { return Clock(); }, [this] { return KeyTarget(); }), Overview(MainForm, [this] { return OverviewSites(); }), BareSessionFocus(MainForm), SettingsKeeper(Registry()), Zoom(*this), Input(MainForm), MemoryCeiling(*this),
      AutoScroll(Input, [this] { return Browser(CurrentIndex()); }, [this] { return Registry()->TimerCyclePause; }),
      Certificates(*this), SignIns(),
      TabMarks(MainForm->tcBrowserContainer, [this](TWebBrowser* page) { return PageOf(page); }, [this](int site) { return Registry()->Titles.value(site); }),
      Permissions(*this), UnreadCounts(*this), DownloadNote(MainForm),
      FindInPage(*this), PrintPage(*this)
{
    qApp->installEventFilter(this);
    MainStage.Area = MainForm->tcBrowserContainer;
    // The chosen site stays in sight where its screen sends it.
    QObject::connect(&ScreenWindows, &TScreenWindows::Changed, this, [this] {
        // While the pages are being built they are placed as they come.
        if (Browsers.empty())
            return;
        PlacePages();
        ShowSelectedPage();
    });
    QObject::connect(MainForm->OverviewMenuItem, &QAction::triggered, this, [this] {
        if (Overview.IsOpen())
            Overview.Close();
        else
            Overview.Open(CurrentIndex());
    });
    QObject::connect(&ScreenPower, &TScreenPower::Switched, &ScreenWindows, [this](bool on) { ScreenWindows.SetDark(!on); });
    QObject::connect(&Overview, &TOverview::Opening, this, &TCMain::RevealPages);
    QObject::connect(&Overview, &TOverview::Closed, this, [this] {
        PlacePages();
        FocusShownPage();
    });
    QObject::connect(&Overview, &TOverview::Picked, this, [this](int site) {
        if (Browser(site))
            SelectPage(site);
        FocusShownPage();
    });
    QObject::connect(&FirstStart, &TFirstStart::AddSiteRequested, this, [this] { SetupClick(MainForm->SetupSitesMenuItem); });
    Timer = std::make_unique<QTimer>();
    Timer->setInterval(1000);
    QObject::connect(Timer.get(), &QTimer::timeout, this, &TCMain::TimerTick);
    Timer->start();
    MainForm->TethraMenuItem->setVisible(QFileInfo(QStringLiteral("Tethra.exe")).isFile());
#ifndef ORVANTA_HAS_MQTT
    MainForm->SetupRemoteMenuItem->setVisible(false);
#endif
    BindEvents();
    AllPages = true;
    UpdateButtonCaptions(Qt::NoModifier);
    // Hand-edited lists can leave no usable site; the program always has a page.
    if (Registry()->SiteCount() == 0)
        Registry()->AddSite(TCRegistry::NewSiteTitle, TCRegistry::BlankAddress);
    LockSiteCommands();
    ApplyLayout();
    BuildPages();
    // Not the address field, which comes first in the window's order.
    FocusShownPage();
    ScreenPower.SetSchedule(Registry()->ScreenSchedule);
#ifdef ORVANTA_HAS_DBUS
    Remote = std::make_unique<TRemoteControl>(*this);
    Remote->Register(QDBusConnection::sessionBus());
#endif
#ifdef ORVANTA_HAS_MQTT
    StartMqtt();
#endif
}

#ifdef ORVANTA_HAS_MQTT
void TCMain::StartMqtt(const QString& typedPassword)
{
    Mqtt.reset();
    if (!Registry()->Mqtt.Broker.isEmpty())
        Mqtt = std::make_unique<TMqttRemote>(*this, Registry()->Mqtt, typedPassword);
}
#endif

TCMain::~TCMain()
{
#ifdef ORVANTA_HAS_MQTT
    Mqtt.reset();
#endif
#ifdef ORVANTA_HAS_DBUS
    Remote.reset();
#endif
    Timer.reset();
    for (const auto& page : Browsers) {
        try {
            page->Navigate(TCRegistry::BlankAddress);
        } catch (const EKestException&) {
            // The page is freed in a moment anyway; the others and the settings still matter.
        }
        QObject::disconnect(page.get(), &TWebBrowser::ProgressChange, this, nullptr);
        if (TTabControl* area = TTabControl::Holding(page.get()))
            area->Collapse(page.get());
    }
    Browsers.clear();
}

void TCMain::BindEvents()
{
    TfrmMain* form = MainForm;
    QObject::connect(form, &TfrmMain::KeyDown, this, &TCMain::UpdateButtonCaptions);
    QObject::connect(form, &TfrmMain::KeyUp, this, &TCMain::UpdateButtonCaptions);
    QObject::connect(form, &TfrmMain::ActivationChanged, this, &TCMain::UpdateButtonCaptions);
    QObject::connect(form->ExitMenuItem, &QAction::triggered, this, &TCMain::ExitClick);
    for (QAction* item : {form->SetupSitesMenuItem, form->SetupOptionsMenuItem, form->SetupRemoteMenuItem})
        QObject::connect(item, &QAction::triggered, this, [this, item] { SetupClick(item); });
    for (QToolButton* button : {form->tbBack, form->tbForward, form->tbHome, form->tbRefresh, form->tbStop})
        QObject::connect(button, &QToolButton::clicked, this, [this, button] { BrowserButtonClick(button); });
    for (QAction* item : {form->AllSitesHomeMenuItem, form->AllSitesReloadMenuItem, form->AllSitesStoploadingMenuItem})
        QObject::connect(item, &QAction::triggered, this, [this, item] { AllSitesClick(item); });
    for (QAction* item : {form->miAddSite, form->miRemoveSite, form->miUpdateHome, form->miUpdateTitle,
                          form->miOpenInBrowser, form->miCopyURL})
        QObject::connect(item, &QAction::triggered, this, [this, item] { TabMenuClick(item); });
    QObject::connect(form->popTabMenu, &QMenu::aboutToShow, this, &TCMain::TabMenuPopup);
    QObject::connect(form->tcBrowserContainer, &TTabControl::Change, this, &TCMain::ShowSelectedPage);
    QObject::connect(form->tcBrowserContainer, &TTabControl::MouseMove, this, &TCMain::TabMouseMove);
    QObject::connect(form, &TfrmMain::edtAddressKeyPress, this, &TCMain::AddressKeyPress);
    QObject::connect(form->tcBrowserContainer, &TTabControl::MenuRequested, this, [this](int index) { HoverTabIndex = index; });
    QObject::connect(form->FullScreenAction, &QAction::triggered, this, &TCMain::FullScreenClick);
    QList<QAction*> siteKeys = form->SiteActions;
    siteKeys << form->NextSiteAction << form->PreviousSiteAction;
    for (QAction* item : siteKeys)
        QObject::connect(item, &QAction::triggered, this, [this, item] { SiteKeyClick(item); });
    const std::pair<QAction*, QToolButton*> commandKeys[] = {
        {form->RefreshKeyAction, form->tbRefresh}, {form->BackKeyAction, form->tbBack},
        {form->ForwardKeyAction, form->tbForward}, {form->HomeKeyAction, form->tbHome}};
    for (const auto& [item, button] : commandKeys)
        QObject::connect(item, &QAction::triggered, this, [this, button = button] { BrowserButtonClick(button); });
    for (QAction* item : {form->ZoomInAction, form->ZoomOutAction, form->ZoomResetAction})
        QObject::connect(item, &QAction::triggered, this, [this, item] { Zoom.ZoomClick(item); });
    QObject::connect(&Input, &TInputWatch::Typed, this, [this](QWidget* receiver) { RefreshTicks.Typed(PageOf(receiver)); });
}

// The administrator manages a locked site list: the commands that would change it are off.
void TCMain::LockSiteCommands()
{
    const bool locked = Registry()->SitesLocked();
    TfrmMain* form = MainForm;
    for (QAction* item : {form->miAddSite, form->miRemoveSite, form->miUpdateHome, form->miUpdateTitle})
        item->setEnabled(!locked);
}

TWebBrowser* TCMain::Browser(int index) const
{
    return index >= 0 && index < static_cast<int>(Browsers.size()) ? Browsers[index].get() : nullptr;
}

void TCMain::EnableTimerByRule()
{
    if (Registry()->TimerRefreshEnabled || Registry()->TimerCycleEnabled)
        Timer->start();
    else
        Timer->stop();
}

// ---- Pages and page selector ----

void TCMain::ApplyLayout()
{
    TfrmMain* form = MainForm;
    TCRegistry* settings = Registry();
    QWidget* addressBar = form->pnlAddressBar;
    switch (settings->AddressBar) {
    case 1:
        addressBar->setParent(form->pnlUrlInButtonBar);
        form->pnlUrlInButtonBar->layout()->addWidget(addressBar);
        addressBar->show();
        break;
    case 2:
        // Through the bottom, so that it lands below the button bar and not above it.
        form->Layout->SetAlign(addressBar, TAlign::Bottom);
        addressBar->show();
        form->Layout->SetAlign(addressBar, TAlign::Top);
        break;
    case 3:
        form->Layout->SetAlign(addressBar, TAlign::Bottom);
        addressBar->show();
        break;
    default:
        addressBar->hide();
        break;
    }

    form->Layout->SetAlign(form->ProgressBar, settings->ProgressBar == 1 ? TAlign::Top : TAlign::Bottom);

    FullScreen.Apply(settings->FullScreen);
    ScreenPower.SetFullScreen(settings->FullScreen);

    TTabControl* selector = form->tcBrowserContainer;
    using TStyle = TTabControl::TStyle;
    using TPosition = TTabControl::TPosition;
    switch (settings->ViewMode) {
    case 0:
        selector->SetTabPosition(TPosition::Top);
        selector->SetStyle(TStyle::Buttons);
        break;
    case 1:
        selector->SetTabPosition(TPosition::Top);
        selector->SetStyle(TStyle::FlatButtons);
        break;
    case 2:
    case 3:
    case 4:
    case 5: {
        const TPosition positions[] = {TPosition::Top, TPosition::Bottom, TPosition::Left, TPosition::Right};
        selector->SetStyle(TStyle::Tabs);
        selector->SetTabPosition(positions[settings->ViewMode - 2]);
        break;
    }
    default:
        break;
    }

    SetShowHint(selector, settings->HintBrowserSelection);
    SetShowHint(form->ProgressBar, settings->HintProgressBar);
    form->FoldToolBar();
}

void TCMain::BuildPages()
{
    // Its pictures are of the pages about to go.
    Overview.Close();
    Timer->stop();
    AllSitesClick(MainForm->AllSitesStoploadingMenuItem);
    Browsers.clear();
    TTabControl* selector = MainForm->tcBrowserContainer;
    selector->ClearTabs();
    TCRegistry* settings = Registry();
    if (ShownIndex > settings->SiteCount() - 1)
        ShownIndex = qMax(settings->SiteCount() - 1, 0);
    ScreenWindows.SetEntries(settings->Screens);
    for (TStage* stage : Stages())
        stage->Shown = -1;
    for (int i = 0; i < settings->SiteCount(); ++i) {
        selector->AddTab(settings->Titles.at(i));
        TTabControl* area = StageOf(i).Area;
        TWebBrowser* page = FCreateBrowser(area->ClientArea(), settings->Profiles.value(i));
        Browsers.emplace_back(page);
        QObject::connect(page, &TWebBrowser::ProgressChange, this, &TCMain::BrowserProgressChange);
        page->SetSilent(true);
        page->SetCertificateTrust(Certificates.Trust());
        SignIns.Watch(page);
        TabMarks.Watch(page);
        UnreadCounts.Watch(page);
        page->SetPermissionDecisions(Permissions.Decisions());
#ifdef ORVANTA_HAS_DBUS
        Notifications.Watch(page);
#endif
        if (settings->Zoom(i) != NormalZoom)
            page->SetZoom(settings->Zoom(i));
        page->Navigate(settings->Urls.value(i));
        area->Collapse(page);
        page->show();
    }
    RefreshTicks.Resize(settings->SiteCount());
    PlacePages();
    SelectPage(ShownIndex);
    EnableTimerByRule();
    ApplySiteLooks();
    // Only new blank sites, however many: the welcome page still shows the way.
    bool placeholder = true;
    for (int i = 0; i < settings->SiteCount(); ++i)
        placeholder = placeholder && settings->Titles.at(i) == TCRegistry::NewSiteTitle && settings->Urls.value(i) == TCRegistry::BlankAddress;
    FirstStart.Update(Browser(0), placeholder);
}

void TCMain::ApplySiteLooks()
{
    std::vector<std::pair<TWebBrowser*, int>> paces;
    for (int i = 0; TWebBrowser* page = Browser(i); ++i) {
        page->SetStyleSheet(Registry()->StyleSheet(i));
        paces.emplace_back(page, Registry()->ScrollTime(i));
    }
    AutoScroll.Apply(paces);
}

int TCMain::CurrentIndex() const
{
    return qMax(MainForm->tcBrowserContainer->TabIndex(), 0);
}

void TCMain::ShowSelectedPage()
{
    const int current = CurrentIndex();
    if (TWebBrowser* page = Browser(current)) {
        TStage& stage = StageOf(current);
        // Within the group already shown the tiles stay where they are.
        if (!GroupOf(stage.Shown).contains(current) || !stage.Area->IsAligned(page))
            ShowOnStage(stage, current);
        MarkSelectedTile();
    }
    if (current != ShownIndex) {
        ShownIndex = current;
        Q_EMIT ShownChanged(current);
    }
    BrowserProgressChange(Browser(CurrentIndex()), 0, 0);
}

void TCMain::SelectPage(int index)
{
    MainForm->tcBrowserContainer->SetTabIndex(index);
    ShowSelectedPage();
}

void TCMain::TabMenuPopup()
{
    SelectPage(HoverTabIndex);
}

void TCMain::SiteKeyClick(QObject* sender)
{
    const int count = Registry()->SiteCount();
    const int current = CurrentIndex();
    int site = MainForm->SiteActions.indexOf(static_cast<QAction*>(sender));
    if (sender == MainForm->NextSiteAction)
        site = (current + 1) % count;
    else if (sender == MainForm->PreviousSiteAction)
        site = (current + count - 1) % count;
    else if (site == MainForm->SiteActions.size() - 1)
        site = count - 1;
    if (site >= 0 && site < count)
        SelectPage(site);
}

QWidget* TCMain::KeyTarget() const
{
    if (QWidget* welcome = FirstStart.KeyTarget())
        return welcome;
    TWebBrowser* page = Browser(CurrentIndex());
    return page ? page->Application() : nullptr;
}

void TCMain::FocusShownPage()
{
    if (QWidget* target = KeyTarget())
        target->setFocus(Qt::OtherFocusReason);
}

// ---- Full screen ----

void TCMain::FullScreenClick()
{
    Registry()->FullScreen = !Registry()->FullScreen;
    ApplyLayout();
}

// ---- Keyboard ----

int TCMain::PageOf(const QWidget* widget) const
{
    for (int i = 0; TWebBrowser* page = Browser(i); ++i) {
        if (widget && (widget == page->Application() || page->isAncestorOf(widget)))
            return i;
    }
    return -1;
}

bool TCMain::ApplicationMessage(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const int page = PageOf(qobject_cast<QWidget*>(receiver));
    if (page < 0 || page != CurrentIndex())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Alt combinations stay the window's accelerators and its own keys stay its own; every
    // other key (Tab, Backspace, the arrows, the clipboard keys) belongs to the page and
    // never fires a short-cut.
    if (key->modifiers().testFlag(Qt::AltModifier) || MainForm->IsProgramKey(key))
        return false;
    event->accept();
    return true;
}

bool TCMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && event->spontaneous())
        PickTileAt(qobject_cast<QWidget*>(watched));
    return ApplicationMessage(watched, event);
}
