#include "controllers/remote/RemoteCommands.h"

#include "controllers/ControllerMain.h"
#include "shared/KestException.h"

#include <QAction>
#include <QBuffer>

TRemoteCommands::TRemoteCommands(TCMain& main) : FMain(main) {}

QString TRemoteCommands::StateName(TLoadState state)
{
    switch (state) {
    case TLoadState::Loading:
        return QStringLiteral("loading");
    case TLoadState::Loaded:
        return QStringLiteral("loaded");
    case TLoadState::Failed:
        return QStringLiteral("failed");
    case TLoadState::SignIn:
        return QStringLiteral("sign-in");
    case TLoadState::Crashed:
        return QStringLiteral("crashed");
    }
    return QString();
}

QList<TRemoteSite> TRemoteCommands::Sites() const
{
    QList<TRemoteSite> sites;
    TCRegistry* settings = FMain.Registry();
    for (int i = 0; TWebBrowser* page = FMain.Browser(i); ++i)
        sites.append({settings->Titles.value(i), settings->Urls.value(i), page->LocationURL(), StateName(page->LoadState()),
                      page->LastLoaded()});
    return sites;
}

int TRemoteCommands::Shown() const
{
    return FMain.CurrentIndex();
}

void TRemoteCommands::Show(int index)
{
    if (!FMain.Browser(index))
        throw ERemoteRefused{ERemoteRefused::TKind::NoSuchSite, QStringLiteral("There is no site %1.").arg(index)};
    FMain.SelectPage(index);
}

void TRemoteCommands::Next()
{
    FMain.SiteKeyClick(FMain.MainForm->NextSiteAction);
}

void TRemoteCommands::Previous()
{
    FMain.SiteKeyClick(FMain.MainForm->PreviousSiteAction);
}

void TRemoteCommands::Each(int index, const std::function<void(int)>& act)
{
    if (index != -1 && !FMain.Browser(index))
        throw ERemoteRefused{ERemoteRefused::TKind::NoSuchSite, QStringLiteral("There is no site %1.").arg(index)};
    for (int i = 0; FMain.Browser(i); ++i) {
        if (index != -1 && i != index)
            continue;
        try {
            act(i);
        } catch (const EKestException& error) {
            if (index != -1)
                throw ERemoteRefused{ERemoteRefused::TKind::Failed, error.Message()};
        }
    }
}

void TRemoteCommands::Reload(int index)
{
    Each(index, [this](int i) { FMain.Browser(i)->Refresh2(); });
}

void TRemoteCommands::Home(int index)
{
    Each(index, [this](int i) { FMain.Browser(i)->Navigate(FMain.Registry()->Urls.value(i)); });
}

void TRemoteCommands::RequireUnlocked() const
{
    if (FMain.Registry()->SettingsLocked())
        throw ERemoteRefused{ERemoteRefused::TKind::Locked, QStringLiteral("Your administrator manages these settings.")};
}

bool TRemoteCommands::Cycling() const
{
    return FMain.Registry()->TimerCycleEnabled;
}

void TRemoteCommands::SetCycling(bool on)
{
    RequireUnlocked();
    FMain.Registry()->TimerCycleEnabled = on;
    FMain.EnableTimerByRule();
}

bool TRemoteCommands::FullScreen() const
{
    return FMain.Registry()->FullScreen;
}

void TRemoteCommands::SetFullScreen(bool on)
{
    RequireUnlocked();
    FMain.Registry()->FullScreen = on;
    FMain.ApplyLayout();
}

bool TRemoteCommands::Screen() const
{
    return FMain.ScreenPower.IsOn();
}

void TRemoteCommands::SetScreen(bool on)
{
    FMain.ScreenPower.Set(on);
}

QByteArray TRemoteCommands::Screenshot() const
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    FMain.MainForm->grab().save(&buffer, "PNG");
    return png;
}
