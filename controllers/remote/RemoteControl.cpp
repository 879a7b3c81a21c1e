#include "controllers/remote/RemoteControl.h"

#include "controllers/ControllerMain.h"
#include "shared/KestException.h"

#include <QDBusMetaType>

namespace {

const QString ErrorPrefix = QStringLiteral("org.quenbrook.Orvanta.Error.");

QString StateName(TLoadState state)
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

} // namespace

const QString TRemoteControl::Service = QStringLiteral("org.quenbrook.Orvanta");
const QString TRemoteControl::Path = QStringLiteral("/org/quenbrook/Orvanta");

QDBusArgument& operator<<(QDBusArgument& argument, const TRemoteSite& site)
{
    argument.beginStructure();
    argument << site.Title << site.Home << site.Current << site.State;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TRemoteSite& site)
{
    argument.beginStructure();
    argument >> site.Title >> site.Home >> site.Current >> site.State;
    argument.endStructure();
    return argument;
}

TRemoteControl::TRemoteControl(TCMain& main) : FMain(main), FBus(QString())
{
    qDBusRegisterMetaType<TRemoteSite>();
    qDBusRegisterMetaType<QList<TRemoteSite>>();
    connect(&main, &TCMain::ShownChanged, this, &TRemoteControl::ShownChanged);
}

TRemoteControl::~TRemoteControl()
{
    if (!FBus.isConnected())
        return;
    FBus.unregisterObject(Path);
    FBus.unregisterService(Service);
}

bool TRemoteControl::Register(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return false;
    FBus = bus;
    if (!FBus.registerObject(Path, this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals))
        return false;
    if (FBus.registerService(Service))
        return true;
    FBus.unregisterObject(Path);
    FBus = QDBusConnection(QString());
    return false;
}

QList<TRemoteSite> TRemoteControl::Sites()
{
    QList<TRemoteSite> sites;
    TCRegistry* settings = FMain.Registry();
    for (int i = 0; TWebBrowser* page = FMain.Browser(i); ++i)
        sites.append({settings->Titles.value(i), settings->Urls.value(i), page->LocationURL(), StateName(page->LoadState())});
    return sites;
}

int TRemoteControl::Shown()
{
    return FMain.CurrentIndex();
}

bool TRemoteControl::Show(int index)
{
    if (!FMain.Browser(index))
        return false;
    FMain.SelectPage(index);
    return true;
}

void TRemoteControl::Next()
{
    FMain.SiteKeyClick(FMain.MainForm->NextSiteAction);
}

void TRemoteControl::Previous()
{
    FMain.SiteKeyClick(FMain.MainForm->PreviousSiteAction);
}

bool TRemoteControl::PageOrAll(int index)
{
    if (index == -1 || FMain.Browser(index))
        return true;
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("There is no site %1.").arg(index));
    return false;
}

// A page that fails is passed over, as by an automatic refresh; a single one named is reported.
void TRemoteControl::Each(int index, const std::function<void(int)>& act)
{
    if (!PageOrAll(index))
        return;
    for (int i = 0; FMain.Browser(i); ++i) {
        if (index != -1 && i != index)
            continue;
        try {
            act(i);
        } catch (const EKestException& error) {
            if (index != -1)
                sendErrorReply(ErrorPrefix + QStringLiteral("Failed"), error.Message());
        }
    }
}

void TRemoteControl::Reload(int index)
{
    Each(index, [this](int i) { FMain.Browser(i)->Refresh2(); });
}

void TRemoteControl::Home(int index)
{
    Each(index, [this](int i) { FMain.Browser(i)->Navigate(FMain.Registry()->Urls.value(i)); });
}

bool TRemoteControl::SettingsUnlocked()
{
    if (!FMain.Registry()->SettingsLocked())
        return true;
    sendErrorReply(ErrorPrefix + QStringLiteral("Locked"), QStringLiteral("Your administrator manages these settings."));
    return false;
}

void TRemoteControl::SetCycling(bool on)
{
    if (!SettingsUnlocked())
        return;
    FMain.Registry()->TimerCycleEnabled = on;
    FMain.EnableTimerByRule();
}

void TRemoteControl::SetFullScreen(bool on)
{
    if (!SettingsUnlocked())
        return;
    FMain.Registry()->FullScreen = on;
    FMain.ApplyLayout();
}
