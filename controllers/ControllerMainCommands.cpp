// The toolbar's and the tab menu's commands for the shown page, every page and the site list.
#include "controllers/ControllerMain.h"

#include "browser/OwnPage.h"
#include "platform/MessageBox.h"
#include "platform/TabControl.h"
#include "shared/KestException.h"
#include "shared/KestTag.h"
#include "shared/LibHyperlink.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QToolButton>

namespace {

enum TCommand { CommandBack = 1, CommandForward, CommandHome, CommandRefresh, CommandStop };
enum TSiteCommand { SiteAdd = 1, SiteRemove, SiteUpdateHome, SiteUpdateTitle, SiteOpenInBrowser, SiteCopyUrl };

} // namespace

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
    // A sign-in form's "&Remember" and "Keep it in a &file" are not shadowed by Refresh and Forward.
    const bool alt = shift.testFlag(Qt::AltModifier) && !IsOnOwnPage(QApplication::focusWidget());
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
        settings->AddSite(TCRegistry::NewSiteTitle, TCRegistry::BlankAddress);
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

