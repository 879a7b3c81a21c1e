#include "controllers/remote/RemoteControl.h"

#include "controllers/ControllerMain.h"

#include <QDBusMetaType>

namespace {

const QString ErrorPrefix = QStringLiteral("org.quenbrook.Orvanta.Error.");

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

TRemoteControl::TRemoteControl(TCMain& main) : FCommands(main), FBus(QString())
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

void TRemoteControl::Answer(const std::function<void()>& command)
{
    try {
        command();
    } catch (const ERemoteRefused& refused) {
        switch (refused.Kind) {
        case ERemoteRefused::TKind::NoSuchSite:
            sendErrorReply(QDBusError::InvalidArgs, refused.Message);
            break;
        case ERemoteRefused::TKind::Locked:
            sendErrorReply(ErrorPrefix + QStringLiteral("Locked"), refused.Message);
            break;
        case ERemoteRefused::TKind::Failed:
            sendErrorReply(ErrorPrefix + QStringLiteral("Failed"), refused.Message);
            break;
        }
    }
}

QList<TRemoteSite> TRemoteControl::Sites()
{
    return FCommands.Sites();
}

int TRemoteControl::Shown()
{
    return FCommands.Shown();
}

// A site that is not there is a false answer, not an error.
bool TRemoteControl::Show(int index)
{
    try {
        FCommands.Show(index);
        return true;
    } catch (const ERemoteRefused&) {
        return false;
    }
}

void TRemoteControl::Next()
{
    FCommands.Next();
}

void TRemoteControl::Previous()
{
    FCommands.Previous();
}

void TRemoteControl::Reload(int index)
{
    Answer([&] { FCommands.Reload(index); });
}

void TRemoteControl::Home(int index)
{
    Answer([&] { FCommands.Home(index); });
}

void TRemoteControl::SetCycling(bool on)
{
    Answer([&] { FCommands.SetCycling(on); });
}

void TRemoteControl::SetFullScreen(bool on)
{
    Answer([&] { FCommands.SetFullScreen(on); });
}

bool TRemoteControl::Screen()
{
    return FCommands.Screen();
}

void TRemoteControl::SetScreen(bool on)
{
    FCommands.SetScreen(on);
}

QByteArray TRemoteControl::Screenshot()
{
    return FCommands.Screenshot();
}
