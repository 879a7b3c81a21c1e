#include "controllers/ControllerMain.h"

#include "browser/WebEngineBrowser.h"
#include "platform/AlignLayout.h"
#include "platform/HintSwitch.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"
#include "platform/SpinEdit.h"
#include "platform/TabControl.h"
#include "shared/KestException.h"
#include "shared/KestTag.h"
#include "shared/LibCommaText.h"
#include "shared/LibHyperlink.h"
#include "views/ViewSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>
#include <cmath>

namespace {

enum TCommand { CommandBack = 1, CommandForward, CommandHome, CommandRefresh, CommandStop };
enum TSiteCommand { SiteAdd = 1, SiteRemove, SiteUpdateHome, SiteUpdateTitle, SiteOpenInBrowser, SiteCopyUrl };

const QString NewSiteTitle = QStringLiteral("New");
const QString BlankAddress = QStringLiteral("about:blank");

void ProcessMessages()
{
    QCoreApplication::processEvents();
}

// The rounded percentage of a load, halves to the even neighbour, at most 100.
qint64 Percentage(int progress, int progressMax)
{
    const long double percent = static_cast<long double>(progress) / progressMax * 100;
    return qMin<qint64>(100, static_cast<qint64>(std::nearbyint(percent)));
}

} // namespace

TCMain::TCMain() : TCMain(&TWebEngineBrowser::Create) {}

TCMain::TCMain(TWebBrowserFactory createBrowser)
    : FCreateBrowser(std::move(createBrowser)), FullScreen(MainForm), Zoom(*this), Input(MainForm), MemoryCeiling(*this)
{
    qApp->installEventFilter(this);
    Timer = std::make_unique<QTimer>();
    Timer->setInterval(1000);
    QObject::connect(Timer.get(), &QTimer::timeout, this, &TCMain::TimerTick);
    Timer->start();
    MainForm->TethraMenuItem->setVisible(QFileInfo(QStringLiteral("Tethra.exe")).isFile());
    BindEvents();
    AllPages = true;
    UpdateButtonCaptions(Qt::NoModifier);
    // Hand-edited lists can leave no usable site; the program always has a page.
    if (Registry()->SiteCount() == 0)
        Registry()->AddSite(NewSiteTitle, BlankAddress);
    LockSiteCommands();
    ApplyLayout();
    BuildPages();
}

TCMain::~TCMain()
{
    Timer.reset();
    for (const auto& page : Browsers) {
        try {
            page->Navigate(BlankAddress);
        } catch (const EKestException&) {
            // The page is freed in a moment anyway; the others and the settings still matter.
        }
        QObject::disconnect(page.get(), &TWebBrowser::ProgressChange, this, nullptr);
        MainForm->tcBrowserContainer->Collapse(page.get());
    }
    Browsers.clear();
}

void TCMain::BindEvents()
{
    TfrmMain* form = MainForm;
    QObject::connect(form, &TfrmMain::KeyDown, this, &TCMain::UpdateButtonCaptions);
    QObject::connect(form, &TfrmMain::KeyUp, this, &TCMain::UpdateButtonCaptions);
    QObject::connect(form->ExitMenuItem, &QAction::triggered, this, &TCMain::ExitClick);
    for (QAction* item : {form->SetupSitesMenuItem, form->SetupOptionsMenuItem})
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
}

void TCMain::BuildPages()
{
    Timer->stop();
    AllSitesClick(MainForm->AllSitesStoploadingMenuItem);
    Browsers.clear();
    TTabControl* selector = MainForm->tcBrowserContainer;
    selector->ClearTabs();
    TCRegistry* settings = Registry();
    if (ShownIndex > settings->SiteCount() - 1)
        ShownIndex = qMax(settings->SiteCount() - 1, 0);
    for (int i = 0; i < settings->SiteCount(); ++i) {
        selector->AddTab(settings->Titles.at(i));
        TWebBrowser* page = FCreateBrowser(selector->ClientArea());
        Browsers.emplace_back(page);
        QObject::connect(page, &TWebBrowser::ProgressChange, this, &TCMain::BrowserProgressChange);
        page->SetSilent(true);
        if (settings->Zoom(i) != NormalZoom)
            page->SetZoom(settings->Zoom(i));
        page->Navigate(settings->Urls.value(i));
        if (i == ShownIndex)
            selector->AlignClient(page);
        else
            selector->Collapse(page);
        page->show();
    }
    RefreshTicks.Resize(settings->SiteCount());
    SelectPage(ShownIndex);
    EnableTimerByRule();
}

int TCMain::CurrentIndex() const
{
    return qMax(MainForm->tcBrowserContainer->TabIndex(), 0);
}

void TCMain::ShowSelectedPage()
{
    const int current = CurrentIndex();
    TTabControl* selector = MainForm->tcBrowserContainer;
    if (current != ShownIndex) {
        if (TWebBrowser* shown = Browser(ShownIndex); shown && ShownIndex < Registry()->SiteCount())
            selector->Collapse(shown);
        if (TWebBrowser* page = Browser(current))
            selector->AlignClient(page);
        ShownIndex = current;
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

// ---- Navigation and site commands ----

void TCMain::StopPages(bool allPages)
{
    // Pages are looked up again after each pass: handling messages may have changed them.
    for (int pass = 0; pass < 2; ++pass) {
        if (allPages) {
            for (int i = 0; TWebBrowser* page = Browser(i); ++i)
                page->Stop();
        } else if (TWebBrowser* shown = Browser(CurrentIndex())) {
            shown->Stop();
        }
        ProcessMessages();
    }
}

void TCMain::BrowserButtonClick(QObject* sender)
{
    TWebBrowser* shown = Browser(CurrentIndex());
    if (!shown)
        return;
    TCRegistry* settings = Registry();
    switch (TagOf(sender)) {
    case CommandBack:
        try {
            shown->GoBack();
        } catch (const EKestException&) {
            ShowInformation(QStringLiteral("Can't go back in browser history."));
        }
        break;
    case CommandForward:
        try {
            shown->GoForward();
        } catch (const EKestException&) {
            ShowInformation(QStringLiteral("Can't go forward in browser history."));
        }
        break;
    case CommandHome:
        if (AllPages) {
            for (int i = 0; TWebBrowser* page = Browser(i); ++i)
                page->Navigate(settings->Urls.value(i));
        } else {
            shown->Navigate(settings->Urls.value(CurrentIndex()));
        }
        break;
    case CommandRefresh:
        if (AllPages) {
            for (int i = 0; TWebBrowser* page = Browser(i); ++i) {
                try {
                    page->Refresh2();
                } catch (const EKestException&) {
                    ShowInformation(QStringLiteral("Can't refresh %1.").arg(settings->Titles.value(i)));
                }
            }
        } else {
            try {
                shown->Refresh2();
            } catch (const EKestException&) {
                ShowInformation(QStringLiteral("Can't refresh this page."));
            }
        }
        break;
    case CommandStop:
        StopPages(AllPages);
        break;
    default:
        break;
    }
}

void TCMain::AllSitesClick(QObject* sender)
{
    AllPages = true;
    try {
        BrowserButtonClick(sender);
    } catch (...) {
        AllPages = false;
        throw;
    }
    AllPages = false;
}

void TCMain::UpdateButtonCaptions(Qt::KeyboardModifiers shift)
{
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    const bool alt = shift.testFlag(Qt::AltModifier);
    if (ctrl == AllPages && alt == ShowAccelerators)
        return;
    AllPages = ctrl;
    ShowAccelerators = alt;
    TfrmMain* form = MainForm;
    const std::pair<QToolButton*, QString> captions[] = {
        {form->tbMenu, QStringLiteral("Menu")},
        {form->tbBack, QStringLiteral("Back")},
        {form->tbForward, QStringLiteral("Forward")},
        {form->tbHome, ctrl ? QStringLiteral("Home all   ") : QStringLiteral("Home")},
        {form->tbRefresh, ctrl ? QStringLiteral("Refresh all") : QStringLiteral("Refresh")},
        {form->tbStop, ctrl ? QStringLiteral("Stop all   ") : QStringLiteral("Stop")},
    };
    const QString words[] = {QStringLiteral("Menu"), QStringLiteral("Back"), QStringLiteral("Forward"),
                             QStringLiteral("Home"), QStringLiteral("Refresh"), QStringLiteral("Stop")};
    for (int i = 0; i < 6; ++i) {
        QString caption = captions[i].second;
        if (alt) {
            const int at = caption.indexOf(words[i], 0, Qt::CaseSensitive);
            if (at >= 0)
                caption.insert(at, QLatin1Char('&'));
        }
        captions[i].first->setText(caption);
    }
}

void TCMain::TabMenuClick(QObject* sender)
{
    TCRegistry* settings = Registry();
    const int current = CurrentIndex();
    switch (TagOf(sender)) {
    case SiteAdd:
        settings->AddSite(NewSiteTitle, BlankAddress);
        ShownIndex = settings->SiteCount() - 1;
        BuildPages();
        break;
    case SiteRemove:
        if (settings->SiteCount() < 2) {
            ShowNotice(QStringLiteral("There must be at least one site in the list."));
            break;
        }
        settings->RemoveSite(current);
        BuildPages();
        break;
    case SiteUpdateHome:
        if (current < settings->Urls.size())
            settings->Urls[current] = ActualAddress;
        break;
    case SiteUpdateTitle:
        SetSiteTitle(ActualTitle);
        break;
    case SiteOpenInBrowser:
        ShellOpen(ActualAddress);
        break;
    case SiteCopyUrl:
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setText(ActualAddress);
        break;
    default:
        break;
    }
}

void TCMain::AddressKeyPress(QChar key)
{
    if (key != QChar(13))
        return;
    if (TWebBrowser* shown = Browser(CurrentIndex()))
        shown->Navigate(MainForm->edtAddress->text());
}

void TCMain::ExitClick()
{
    MainForm->close();
}

// ---- Status display ----

void TCMain::BrowserProgressChange(TWebBrowser* sender, int progress, int progressMax)
{
    if (!sender || sender != Browser(CurrentIndex()))
        return;
    TfrmMain* form = MainForm;
    TCRegistry* settings = Registry();
    if (progress < progressMax) {
        form->edtAddress->setEnabled(false);
    } else {
        ActualAddress = sender->LocationURL();
        ActualTitle = sender->LocationName();
        form->edtAddress->setText(ActualAddress);
        form->edtAddress->setEnabled(true);
        const int current = CurrentIndex();
        if (settings->Titles.value(current) == NewSiteTitle && !settings->SitesLocked() && !ActualTitle.trimmed().isEmpty()
            && !ActualTitle.contains(QStringLiteral("http:")) && !ActualTitle.contains(QStringLiteral("about:"))) {
            SetSiteTitle(ActualTitle);
            settings->Urls[current] = ActualAddress;
        }
    }
    QProgressBar* bar = form->ProgressBar;
    if (progressMax > 0)
        bar->setToolTip(QStringLiteral("Loading...  %1%").arg(Percentage(progress, progressMax)));
    bar->setRange(qMin(0, progressMax), progressMax);
    bar->setValue(qBound(bar->minimum(), progress, bar->maximum()));
    bar->setVisible(progress != progressMax && settings->ProgressBar > 0 && !settings->FullScreen);
}

void TCMain::TabMouseMove(Qt::KeyboardModifiers, int x, int y)
{
    TTabControl* selector = MainForm->tcBrowserContainer;
    HoverTabIndex = selector->IndexOfTabAt(QPoint(x, y));
    const int i = HoverTabIndex;
    TWebBrowser* page = Browser(i);
    if (!page || i >= Registry()->SiteCount()) {
        selector->setToolTip(QString());
        return;
    }
    const QString lineBreak = QStringLiteral("\n\r");
    const QString gap = lineBreak + lineBreak;
    selector->setToolTip(lineBreak + QStringLiteral("Home title: ") + Registry()->Titles.at(i) + gap
                         + QStringLiteral("Home address: ") + Registry()->Urls.value(i) + gap
                         + QStringLiteral("Actual title: ") + page->LocationName() + gap
                         + QStringLiteral("Actual address: ") + page->LocationURL());
}

void TCMain::SetSiteTitle(const QString& title)
{
    const int current = CurrentIndex();
    if (current >= Registry()->SiteCount())
        return;
    Registry()->Titles[current] = title;
    MainForm->tcBrowserContainer->SetTabText(current, title);
}

// ---- Setup dialog ----

// Changes to the site list or the view mode make the pages be built anew.
QString TCMain::ChangeSignature()
{
    TCRegistry* settings = Registry();
    return ToCommaText(settings->Urls) + ToCommaText(settings->Titles) + QString::number(settings->ViewMode);
}

void TCMain::SetupClick(QObject* sender)
{
    Timer->stop();
    for (int pass = 0; pass < 2; ++pass) {
        AllSitesClick(MainForm->AllSitesStoploadingMenuItem);
        ProcessMessages();
    }
    TCRegistry* settings = Registry();
    TfrmSetup dialog;
    try {
        settings->ReadFormPlacement(&dialog);
        if (sender == MainForm->SetupSitesMenuItem)
            dialog.PageControl1->setCurrentWidget(dialog.TabSheet1);
        else if (sender == MainForm->SetupOptionsMenuItem)
            dialog.PageControl1->setCurrentWidget(dialog.TabSheet2);
        dialog.sgSites->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Address (url)"),
                                                   QStringLiteral("Cycle"), QStringLiteral("Refresh")});
        dialog.SetSitesLocked(settings->SitesLocked());
        dialog.SetDisplayLocked(settings->SettingsLocked());
        dialog.rgViewmode->SetItemIndex(settings->ViewMode);
        dialog.rgProgressbar->SetItemIndex(settings->ProgressBar);
        dialog.rgAddressBar->SetItemIndex(settings->AddressBar);
        dialog.cbHintProgressbar->setChecked(settings->HintProgressBar);
        dialog.cbHintBrowserselection->setChecked(settings->HintBrowserSelection);
        dialog.cbTimerRefresh->setChecked(settings->TimerRefreshEnabled);
        dialog.cbTimerCycle->setChecked(settings->TimerCycleEnabled);
        dialog.edtTimerRefresh->SetValue(settings->TimerRefreshInterval);
        dialog.edtTimerCycle->SetValue(settings->TimerCycleInterval);
        dialog.edtTimerCyclePause->SetValue(settings->TimerCyclePause);
        dialog.sgSites->setRowCount(settings->SiteCount());
        for (int row = 0; row < settings->SiteCount(); ++row) {
            dialog.SetSite(row, {settings->Titles.at(row), settings->Urls.value(row), settings->CycleTimes.value(row),
                                 settings->RefreshTimes.value(row), settings->Zooms.value(row)});
        }
        dialog.sgSites->setCurrentCell(0, 0);
        const QString before = ChangeSignature();

        if (dialog.exec() == QDialog::Accepted) {
            // What the administrator locked is shown, never taken back.
            if (!settings->SettingsLocked()) {
                settings->ViewMode = dialog.rgViewmode->ItemIndex();
                settings->ProgressBar = dialog.rgProgressbar->ItemIndex();
                settings->AddressBar = dialog.rgAddressBar->ItemIndex();
                settings->HintProgressBar = dialog.cbHintProgressbar->isChecked();
                settings->HintBrowserSelection = dialog.cbHintBrowserselection->isChecked();
                settings->TimerRefreshEnabled = dialog.cbTimerRefresh->isChecked();
                settings->TimerCycleEnabled = dialog.cbTimerCycle->isChecked();
                settings->TimerRefreshInterval = dialog.edtTimerRefresh->Value();
                settings->TimerCycleInterval = dialog.edtTimerCycle->Value();
                settings->TimerCyclePause = dialog.edtTimerCyclePause->Value();
            }
            if (!settings->SitesLocked()) {
                for (QStringList* list : {&settings->Titles, &settings->Urls, &settings->CycleTimes,
                                          &settings->RefreshTimes, &settings->Zooms})
                    list->clear();
                for (int row = 0; row < dialog.sgSites->rowCount(); ++row) {
                    const TSiteRow site = dialog.Site(row);
                    settings->Titles.append(site.Title);
                    settings->Urls.append(site.Address);
                    settings->CycleTimes.append(SiteSecondsEntry(site.CycleTime));
                    settings->RefreshTimes.append(SiteSecondsEntry(site.RefreshTime));
                    settings->Zooms.append(site.Zoom);
                }
            }
            ApplyLayout();
            if (ChangeSignature() != before)
                BuildPages();
            else
                EnableTimerByRule();
        } else {
            // An automation the user had on keeps running after the dialog is dismissed.
            EnableTimerByRule();
        }
    } catch (...) {
        settings->WriteFormPlacement(&dialog);
        throw;
    }
    settings->WriteFormPlacement(&dialog);
}

// ---- Automation timers ----

void TCMain::TimerTick()
{
    Timer->stop();
    TCRegistry* settings = Registry();
    try {
        Input.Tick();
        if (settings->TimerRefreshEnabled) {
            const QList<int> due = RefreshTicks.Tick([settings](int site) { return settings->RefreshTime(site); });
            for (int i : due) {
                try {
                    if (TWebBrowser* page = Browser(i))
                        page->Refresh2();
                } catch (const EKestException&) {
                    // Automatic refreshes fail silently.
                }
            }
        } else {
            RefreshTicks.Reset();
        }
        if (settings->TimerCycleEnabled) {
            // The shown site stays for its own time; one the cycle skips, for the global one.
            const int current = CurrentIndex();
            const int stay = settings->CycleTime(current).value_or(settings->TimerCycleInterval);
            if (++CycleTicks >= stay && !Input.InUse(settings->TimerCyclePause)) {
                if (const int next = NextCyclingSite(current); next >= 0)
                    SelectPage(next);
                CycleTicks = 0;
            }
        } else {
            CycleTicks = 0;
        }
    } catch (...) {
        EnableTimerByRule();
        throw;
    }
    EnableTimerByRule();
}

// The next site after `from` that takes part in cycling, wrapping; -1 when none does.
int TCMain::NextCyclingSite(int from)
{
    const int count = Registry()->SiteCount();
    for (int step = 1; step <= count; ++step) {
        const int site = (from + step) % count;
        if (Registry()->CycleTime(site))
            return site;
    }
    return -1;
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
    return ApplicationMessage(watched, event);
}
