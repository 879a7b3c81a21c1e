#include "controllers/wall/FullScreen.h"

#include "platform/AlignLayout.h"
#include "platform/TabControl.h"
#include "views/ViewMain.h"

#include <QAction>
#include <QProgressBar>

TFullScreen::TFullScreen(TfrmMain* form) : FForm(form), FPointerHider(form), FScreenFill(form) {}

void TFullScreen::Apply(bool fullScreen)
{
    FForm->Panel1->setVisible(!fullScreen);
    if (fullScreen) {
        FForm->pnlAddressBar->hide();
        FForm->ProgressBar->hide();
    }
    FForm->Layout->setContentsMargins(fullScreen ? QMargins() : QMargins(3, 3, 3, 3));
    FForm->tcBrowserContainer->SetTabsVisible(!fullScreen);
    FForm->MainMenuAction->setEnabled(fullScreen);
    FScreenFill.SetFullScreen(fullScreen);
    FPointerHider.SetActive(fullScreen);
}
