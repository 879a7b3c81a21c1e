#include "views/ViewMain.h"

#include "browser/WebEngineSetup.h"
#include "platform/AlignLayout.h"
#include "platform/CentredToolButton.h"
#include "platform/DialogUnits.h"
#include "platform/KeyPreview.h"
#include "platform/TabControl.h"
#include "shared/KestTag.h"
#include "shared/KestViewAbout.h"
#include "shared/LibHyperlink.h"
#include "views/Pictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>
#include <QValidator>

namespace {

constexpr int ButtonWidth = 83;
constexpr int ButtonBarHeight = 25;

// Every letter typed into the address bar is a small one.
class TLowerCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        input = input.toLower();
        return Acceptable;
    }
};

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, int tag = 0)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    if (tag != 0)
        SetTag(item, tag);
    return item;
}

QAction* AddSubmenu(QMenu* menu, const QString& name, const QString& caption, QMenu** submenu)
{
    *submenu = menu->addMenu(caption);
    QAction* item = (*submenu)->menuAction();
    item->setObjectName(name);
    return item;
}

// The modifiers held once this key event has taken effect.
Qt::KeyboardModifiers ShiftAfter(const QKeyEvent* key)
{
    Qt::KeyboardModifiers shift = key->modifiers();
    Qt::KeyboardModifier own = Qt::NoModifier;
    switch (key->key()) {
    case Qt::Key_Control:
        own = Qt::ControlModifier;
        break;
    case Qt::Key_Alt:
        own = Qt::AltModifier;
        break;
    case Qt::Key_Shift:
        own = Qt::ShiftModifier;
        break;
    default:
        return shift;
    }
    return key->type() == QEvent::KeyPress ? shift | own : shift & ~own;
}

} // namespace

TfrmMain::TfrmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orvanta"));
    setWindowIcon(BalloonIcon());
    setMinimumSize(550, 270);
    move(76, 30);
    resize(912, 669);
    ilImages = ImageList(false);
    ilHotImages = ImageList(true);

    Layout = new TAlignLayout(this);
    Layout->setContentsMargins(3, 3, 3, 3);

    const TDialogUnits units(fontMetrics());
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* buttonBar = new QHBoxLayout(Panel1);
    buttonBar->setContentsMargins(0, 0, 0, 0);
    buttonBar->setSpacing(0);

    ToolBar = new QWidget(Panel1);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    buttonBar->addWidget(ToolBar);
    // Each button is as wide as the design has it in the font in use, and at least as wide as
    // the longest caption it shows (with Ctrl held: "Refresh all").
    const QString widest = QStringLiteral("Refresh all");
    tbMenu = AddButton(QStringLiteral("tbMenu"), 0, QStringLiteral("Menu"), -1);
    tbBack = AddButton(QStringLiteral("tbBack"), 1, QStringLiteral("Back"), 0);
    tbForward = AddButton(QStringLiteral("tbForward"), 2, QStringLiteral("Forward"), 1);
    tbHome = AddButton(QStringLiteral("tbHome"), 3, QStringLiteral("Home"), 2);
    tbRefresh = AddButton(QStringLiteral("tbRefresh"), 4, QStringLiteral("Refresh"), 3);
    tbStop = AddButton(QStringLiteral("tbStop"), 5, QStringLiteral("Stop"), 4);
    tbDummy = AddButton(QStringLiteral("tbDummy"), 0, QStringLiteral("&Refresh all"), 5);
    tbDummy->setEnabled(false);
    const QList<QToolButton*> buttons = ToolBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    QSize button(units.X(ButtonWidth), units.Y(ButtonBarHeight));
    for (QToolButton* each : buttons) {
        const QString caption = each->text();
        each->setText(widest);
        button = button.expandedTo(each->sizeHint());
        each->setText(caption);
    }
    for (QToolButton* each : buttons)
        each->resize(button);
    FButtonSize = button;
    Panel1->setFixedHeight(button.height());
    // Never larger than its screen can hold, at any scale (the design's minimum is 550x270).
    setMinimumSize(QSize(550, 270).boundedTo(screen()->availableGeometry().size()));
    pnlUrlInButtonBar = new QWidget(Panel1);
    pnlUrlInButtonBar->setObjectName(QStringLiteral("pnlUrlInButtonBar"));
    auto* urlHost = new QHBoxLayout(pnlUrlInButtonBar);
    urlHost->setContentsMargins(0, 0, 0, 0);
    buttonBar->addWidget(pnlUrlInButtonBar, 1);

    pnlAddressBar = new QWidget(this);
    pnlAddressBar->setObjectName(QStringLiteral("pnlAddressBar"));
    pnlAddressBar->setFixedHeight(27);
    auto* addressBar = new QHBoxLayout(pnlAddressBar);
    addressBar->setContentsMargins(3, 3, 4, 3);
    edtAddress = new QLineEdit(pnlAddressBar);
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    edtAddress->setFixedHeight(21);
    edtAddress->setValidator(new TLowerCaseValidator(edtAddress));
    addressBar->addWidget(edtAddress);

    tcBrowserContainer = new TTabControl(this);
    tcBrowserContainer->setObjectName(QStringLiteral("tcBrowserContainer"));
    tcBrowserContainer->AddTab(QStringLiteral("Test 1"));
    tcBrowserContainer->AddTab(QStringLiteral("Test 2"));

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setFixedHeight(10);
    ProgressBar->setTextVisible(false);

    BuildDownloadNote();

    Layout->SetAlign(Panel1, TAlign::Top);
    Layout->SetAlign(pnlAddressBar, TAlign::Top);
    Layout->SetAlign(pnlDownloadNote, TAlign::Bottom);
    Layout->SetAlign(ProgressBar, TAlign::Bottom);
    Layout->SetAlign(tcBrowserContainer, TAlign::Client);

    setTabOrder(tbMenu, edtAddress);
    setTabOrder(edtAddress, tcBrowserContainer);
    setTabOrder(tcBrowserContainer, ProgressBar);

    BuildMenus();
    BuildKeys();
    BuildFindField();
    FoldToolBar();
    qApp->installEventFilter(this);
}

// Where the window is narrow (a small screen, a large scale), the least-used buttons fold away
// first, so that the address field beside them keeps room for an address; their keys still work.
void TfrmMain::FoldToolBar()
{
    const QList<QToolButton*> foldOrder = {tbStop, tbForward, tbHome, tbBack, tbRefresh};
    const bool addressBeside = pnlAddressBar->parentWidget() == pnlUrlInButtonBar && !pnlAddressBar->isHidden();
    const int addressRoom = addressBeside ? fontMetrics().averageCharWidth() * 24 : 0;
    const QMargins margins = Layout->contentsMargins();
    const int room = width() - margins.left() - margins.right() - addressRoom;
    // The menu button and the dummy's two pixels always stay.
    int fitting = qBound(0, (room - 2) / FButtonSize.width() - 1, int(foldOrder.size()));
    const QList<QToolButton*> folded = foldOrder.mid(0, foldOrder.size() - fitting);
    int x = 0;
    for (QToolButton* each : {tbMenu, tbBack, tbForward, tbHome, tbRefresh, tbStop, tbDummy}) {
        each->setVisible(!folded.contains(each));
        if (folded.contains(each))
            continue;
        each->move(x, 0);
        x += FButtonSize.width();
    }
    // The dummy button peeks out by two pixels, as designed.
    ToolBar->setFixedSize(x - FButtonSize.width() + 2, FButtonSize.height());
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FoldToolBar();
}

QToolButton* TfrmMain::AddButton(const QString& name, int tag, const QString& caption, int picture)
{
    auto* button = new TCentredToolButton(ToolBar);
    button->setObjectName(name);
    SetTag(button, tag);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    if (picture >= 0 && picture < ilImages.size())
        button->setIcon(ToolbarIcon(ilImages.at(picture), ilHotImages.at(picture)));
    return button;
}

void TfrmMain::BuildMenus()
{
    popTabMenu = new QMenu(this);
    popTabMenu->setObjectName(QStringLiteral("popTabMenu"));
    miAddSite = AddItem(popTabMenu, QStringLiteral("miAddSite"), QStringLiteral("&Add new site"), 1);
    miRemoveSite = AddItem(popTabMenu, QStringLiteral("miRemoveSite"), QStringLiteral("&Remove this site"), 2);
    popTabMenu->addSeparator()->setObjectName(QStringLiteral("N2"));
    miUpdateHome = AddItem(popTabMenu, QStringLiteral("miUpdateHome"),
                           QStringLiteral("Update &site address from actual page"), 3);
    miUpdateTitle = AddItem(popTabMenu, QStringLiteral("miUpdateTitle"),
                            QStringLiteral("Update site &title from actual page"), 4);
    popTabMenu->addSeparator()->setObjectName(QStringLiteral("N4"));
    miOpenInBrowser = AddItem(popTabMenu, QStringLiteral("miOpenInBrowser"),
                              QStringLiteral("&Open actual page in default browser"), 5);
    miCopyURL = AddItem(popTabMenu, QStringLiteral("miCopyURL"), QStringLiteral("&Copy URL from actual page"), 6);
    popTabMenu->addSeparator()->setObjectName(QStringLiteral("N5"));
    miForgetCertificate = AddItem(popTabMenu, QStringLiteral("miForgetCertificate"),
                                  QStringLiteral("&Forget the certificate trusted for this site"));
    tcBrowserContainer->SetPopupMenu(popTabMenu);

    popMainMenu = new QMenu(this);
    popMainMenu->setObjectName(QStringLiteral("popMainMenu"));
    QMenu* all = nullptr;
    AllSitesMenuItem = AddSubmenu(popMainMenu, QStringLiteral("AllSitesMenuItem"), QStringLiteral("&All"), &all);
    AllSitesHomeMenuItem = AddItem(all, QStringLiteral("AllSitesHomeMenuItem"), QStringLiteral("&Home"), 3);
    AllSitesReloadMenuItem = AddItem(all, QStringLiteral("AllSitesReloadMenuItem"), QStringLiteral("&Reload page"), 4);
    AllSitesStoploadingMenuItem = AddItem(all, QStringLiteral("AllSitesStoploadingMenuItem"),
                                          QStringLiteral("&Stop loading"), 5);
    OverviewMenuItem = AddItem(popMainMenu, QStringLiteral("OverviewMenuItem"), QStringLiteral("&Overview of all sites"));
    OverviewMenuItem->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    addAction(OverviewMenuItem);
    SearchMenuItem = AddItem(popMainMenu, QStringLiteral("SearchMenuItem"), QStringLiteral("&Search"));
    TethraMenuItem = AddItem(popMainMenu, QStringLiteral("TethraMenuItem"), QStringLiteral("Quenbrook's &Tethra"));
    popMainMenu->addSeparator()->setObjectName(QStringLiteral("N3"));
    QMenu* setup = nullptr;
    SetupMenuItem = AddSubmenu(popMainMenu, QStringLiteral("SetupMenuItem"), QStringLiteral("&Setup"), &setup);
    SetupSitesMenuItem = AddItem(setup, QStringLiteral("SetupSitesMenuItem"), QStringLiteral("&Sites"));
    SetupOptionsMenuItem = AddItem(setup, QStringLiteral("SetupOptionsMenuItem"), QStringLiteral("&Display"));
    SetupRemoteMenuItem = AddItem(setup, QStringLiteral("SetupRemoteMenuItem"), QStringLiteral("&Remote"));
    QMenu* info = nullptr;
    InfoMenuItem = AddSubmenu(popMainMenu, QStringLiteral("InfoMenuItem"), QStringLiteral("&Info"), &info);
    SoftwareMenuItem = AddItem(info, QStringLiteral("SoftwareMenuItem"), QStringLiteral("&Software"));
    DonateMenuItem = AddItem(info, QStringLiteral("DonateMenuItem"), QStringLiteral("&Donate"));
    info->addSeparator()->setObjectName(QStringLiteral("N1"));
    AboutMenuItem = AddItem(info, QStringLiteral("AboutMenuItem"), QStringLiteral("&About"));
    popMainMenu->addSeparator()->setObjectName(QStringLiteral("N5"));
    ExitMenuItem = AddItem(popMainMenu, QStringLiteral("ExitMenuItem"), QStringLiteral("E&xit"));
    ExitMenuItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    // The short-cut works while the menu is closed too.
    addAction(ExitMenuItem);

    connect(SearchMenuItem, &QAction::triggered, this, &TfrmMain::SearchMenuItemClick);
    connect(TethraMenuItem, &QAction::triggered, this, &TfrmMain::TethraMenuItemClick);
    connect(SoftwareMenuItem, &QAction::triggered, this, &TfrmMain::SoftwareMenuItemClick);
    connect(DonateMenuItem, &QAction::triggered, this, &TfrmMain::DonateMenuItemClick);
    connect(AboutMenuItem, &QAction::triggered, this, &TfrmMain::AboutMenuItemClick);

    tbMenu->setMenu(popMainMenu);
    tbMenu->setPopupMode(QToolButton::InstantPopup);
    tbMenu->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
}

void TfrmMain::BuildKeys()
{
    const auto addKey = [this](const QString& name, const QList<QKeySequence>& keys) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        addAction(action);
        return action;
    };
    FullScreenAction = addKey(QStringLiteral("FullScreenAction"), {QKeySequence(Qt::Key_F11)});
    ZoomInAction = addKey(QStringLiteral("ZoomInAction"),
                          {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ZoomOutAction = addKey(QStringLiteral("ZoomOutAction"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    ZoomResetAction = addKey(QStringLiteral("ZoomResetAction"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    // Only while the button bar is hidden: the menu button's own Alt+M stands otherwise.
    MainMenuAction = addKey(QStringLiteral("MainMenuAction"), {QKeySequence(Qt::ALT | Qt::Key_M)});
    MainMenuAction->setEnabled(false);
    connect(MainMenuAction, &QAction::triggered, this, &TfrmMain::PopupMainMenuAtTopLeft);

    NextSiteAction = addKey(QStringLiteral("NextSiteAction"),
                            {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    PreviousSiteAction = addKey(QStringLiteral("PreviousSiteAction"),
                                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    for (int site = 1; site <= 9; ++site)
        SiteActions.append(addKey(QStringLiteral("SiteAction%1").arg(site), {QKeySequence(Qt::CTRL | (Qt::Key_0 + site))}));
    RefreshKeyAction = addKey(QStringLiteral("RefreshKeyAction"), {QKeySequence(Qt::Key_F5)});
    BackKeyAction = addKey(QStringLiteral("BackKeyAction"), {QKeySequence(Qt::ALT | Qt::Key_Left)});
    ForwardKeyAction = addKey(QStringLiteral("ForwardKeyAction"), {QKeySequence(Qt::ALT | Qt::Key_Right)});
    HomeKeyAction = addKey(QStringLiteral("HomeKeyAction"), {QKeySequence(Qt::ALT | Qt::Key_Home)});
    FindAction = addKey(QStringLiteral("FindAction"), {QKeySequence(Qt::CTRL | Qt::Key_F)});
    FindNextAction = addKey(QStringLiteral("FindNextAction"), {QKeySequence(Qt::Key_F3)});
    FindPreviousAction = addKey(QStringLiteral("FindPreviousAction"), {QKeySequence(Qt::SHIFT | Qt::Key_F3)});
    PrintAction = addKey(QStringLiteral("PrintAction"), {QKeySequence(Qt::CTRL | Qt::Key_P)});
}

// Shift and the keypad make no difference: Ctrl with the plus key zooms however it is typed.
bool TfrmMain::IsProgramKey(const QKeyEvent* key) const
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence typed(QKeyCombination(modifiers, Qt::Key(key->key())));
    const QKeySequence unshifted(QKeyCombination(modifiers & ~Qt::ShiftModifier, Qt::Key(key->key())));
    for (const QAction* action : actions()) {
        if (!action->isEnabled())
            continue;
        for (const QKeySequence& shortcut : action->shortcuts()) {
            if (shortcut == typed || shortcut == unshifted)
                return true;
        }
    }
    return false;
}

void TfrmMain::PopupMainMenuAtTopLeft()
{
    popMainMenu->popup(mapToGlobal(QPoint(0, 0)));
}

void TfrmMain::ShowRestored()
{
    if (isMinimized())
        setWindowState(FStateBeforeMinimized);
    show();
    raise();
    activateWindow();
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        Q_EMIT ActivationChanged(isActiveWindow() ? QGuiApplication::queryKeyboardModifiers() : Qt::NoModifier);
    if (event->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if (isMinimized() && !before.testFlag(Qt::WindowMinimized))
            FStateBeforeMinimized = before;
    }
    QWidget::changeEvent(event);
}

void TfrmMain::SearchMenuItemClick()
{
    OpenWebPage(SiteBaseAddress() + QStringLiteral("home/search.htm"));
}

void TfrmMain::TethraMenuItemClick()
{
    ShellOpen(QStringLiteral("Tethra.exe"));
}

void TfrmMain::SoftwareMenuItemClick()
{
    OpenWebPage(SiteBaseAddress() + QStringLiteral("software"));
}

void TfrmMain::DonateMenuItemClick()
{
    OpenWebPage(SiteBaseAddress() + QStringLiteral("software/donate.htm"));
}

void TfrmMain::AboutMenuItemClick()
{
    ShowAboutBox(false, WebEngineVersion(), WebEngineSecurityLevel());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize && watched == tcBrowserContainer->ClientArea() && !pnlFind->isHidden())
        PlaceFindField();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == edtAddress && type == QEvent::KeyPress) {
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QString text = key->text();
        if (enter || !text.isEmpty())
            Q_EMIT edtAddressKeyPress(enter ? QChar(13) : text.at(0));
    }
    if (!IsPreviewedKey(this, watched))
        return false;
    if (type == QEvent::KeyPress)
        Q_EMIT KeyDown(ShiftAfter(key));
    else
        Q_EMIT KeyUp(ShiftAfter(key));
    return false;
}
