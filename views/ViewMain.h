#pragma once

#include <QPixmap>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QToolButton;
class TAlignLayout;
class TTabControl;

// The main window: a button bar with the main menu, the address bar, the page selector that
// holds the browser pages and a thin progress bar. Passive: the controller binds its events.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    TfrmMain();

    TAlignLayout* Layout;
    QWidget* Panel1;
    QWidget* ToolBar;
    QToolButton* tbMenu;
    QToolButton* tbBack;
    QToolButton* tbForward;
    QToolButton* tbHome;
    QToolButton* tbRefresh;
    QToolButton* tbStop;
    QToolButton* tbDummy;
    QWidget* pnlUrlInButtonBar;
    QWidget* pnlAddressBar;
    QLineEdit* edtAddress;
    TTabControl* tcBrowserContainer;
    QProgressBar* ProgressBar;
    QWidget* pnlDownloadNote;
    QLabel* lblDownloadNote;
    // Shown while a download runs.
    QToolButton* btnCancelDownload;
    QToolButton* btnCloseDownloadNote;

    QMenu* popTabMenu;
    QAction* miAddSite;
    QAction* miRemoveSite;
    QAction* miUpdateHome;
    QAction* miUpdateTitle;
    QAction* miOpenInBrowser;
    QAction* miCopyURL;
    QAction* miForgetCertificate;

    QMenu* popMainMenu;
    QAction* AllSitesMenuItem;
    QAction* AllSitesHomeMenuItem;
    QAction* AllSitesReloadMenuItem;
    QAction* AllSitesStoploadingMenuItem;
    // Every site at once; its short-cut works while the menu is closed too.
    QAction* OverviewMenuItem;
    QAction* SearchMenuItem;
    QAction* TethraMenuItem;
    QAction* SetupMenuItem;
    QAction* SetupSitesMenuItem;
    QAction* SetupOptionsMenuItem;
    QAction* SetupRemoteMenuItem;
    QAction* InfoMenuItem;
    QAction* SoftwareMenuItem;
    QAction* DonateMenuItem;
    QAction* AboutMenuItem;
    QAction* ExitMenuItem;

    // Keys of the window that work wherever the focus is, in a page too.
    QAction* FullScreenAction;
    QAction* ZoomInAction;
    QAction* ZoomOutAction;
    QAction* ZoomResetAction;
    // The main menu at the window's top left, for when the button bar is hidden.
    QAction* MainMenuAction;
    // The page selector and the shown page's commands, as browsers have them.
    QAction* NextSiteAction;
    QAction* PreviousSiteAction;
    // Ctrl+1 to Ctrl+8 pick that site, Ctrl+9 the last one.
    QList<QAction*> SiteActions;
    QAction* RefreshKeyAction;
    QAction* BackKeyAction;
    QAction* ForwardKeyAction;
    QAction* HomeKeyAction;
    // Find in the shown page, and print it.
    QAction* FindAction;
    QAction* FindNextAction;
    QAction* FindPreviousAction;
    QAction* PrintAction;

    // The find field over the shown page, at its bottom right.
    QWidget* pnlFind;
    QLineEdit* edtFind;
    QLabel* lblFindMatches;
    QToolButton* btnFindPrevious;
    QToolButton* btnFindNext;
    QToolButton* btnCloseFind;

    QList<QPixmap> ilImages;
    QList<QPixmap> ilHotImages;

    // Whether a key press is one of the window's own short-cuts rather than the page's.
    bool IsProgramKey(const class QKeyEvent* key) const;
    void PopupMainMenuAtTopLeft();
    void PlaceFindField();
    // The buttons that fit beside the address field are shown, the least-used folded away.
    void FoldToolBar();
    // Back from the task bar in the state it had before (maximised stays maximised), in front.
    void ShowRestored();

    // The window's own menu handlers.
    void SearchMenuItemClick();
    void TethraMenuItemClick();
    void SoftwareMenuItemClick();
    void DonateMenuItemClick();
    void AboutMenuItemClick();

Q_SIGNALS:
    // Key preview: the window sees every key of its controls, the web pages' included, first.
    void KeyDown(Qt::KeyboardModifiers shift);
    void KeyUp(Qt::KeyboardModifiers shift);
    // The window became active or stopped being so; `held` are the modifiers down now. A
    // modifier let go in a dialog of the window's own never reaches it as KeyUp.
    void ActivationChanged(Qt::KeyboardModifiers held);
    void edtAddressKeyPress(QChar key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* AddButton(const QString& name, int tag, const QString& caption, int picture);
    void BuildMenus();
    void BuildKeys();
    // In ViewMainParts.cpp.
    void BuildFindField();
    void BuildDownloadNote();

    Qt::WindowStates FStateBeforeMinimized = Qt::WindowNoState;
    QSize FButtonSize;
};
