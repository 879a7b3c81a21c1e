#include "shared/KestControllerCustomRegistry.h"

#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QWidget>
#include <optional>

namespace {

const QString FormsSection = QStringLiteral("Forms");

bool HasSizeableBorder(const QWidget* form)
{
    return form->minimumSize() != form->maximumSize();
}

// The stored text of a value; nothing when the section or the value is missing, or when it is
// of another type than text.
std::optional<QString> StoredString(TRegistry& registry, const QString& section, const QString& name)
{
    if (!registry.OpenSection(section, false))
        return std::nullopt;
    std::optional<QString> result;
    try {
        if (registry.ValueExists(name))
            result = registry.ReadString(name);
    } catch (const ERegistryException&) {
        // A value of another type than text counts as missing.
    }
    registry.CloseSection();
    return result;
}

} // namespace

TCCustomRegistry::TCCustomRegistry()
    : FRegistry(std::make_unique<TRegistry>()),
      FSystemRegistry(std::make_unique<TRegistry>(TRootKey::LocalMachine))
{
    // The machine's key first: the user's is then judged on its own file alone.
    const bool systemRead = FSystemRegistry->OpenKeyReadOnly(GetKeyPath());
    OpenUserKey();
    if (!systemRead)
        ShowNotice(QStringLiteral("The administrator's settings can't be read. Your own settings are used."));
}

// A settings file that can't be read is kept aside under a name that says so, never written over,
// and a new one takes its place: the user's new work is saved as usual and the old is not lost.
// The registry has no file to set aside.
void TCCustomRegistry::OpenUserKey()
{
    if (FRegistry->OpenKey(GetKeyPath()))
        return;
    const QString damaged = FRegistry->UnreadableFile();
    const QString aside = FRegistry->SetAsideUnreadable();
    if (aside.isEmpty() || !FRegistry->OpenKey(GetKeyPath())) {
        ShowNotice(QStringLiteral("Error reading Windows Registry."));
        return;
    }
    ShowNotice(QStringLiteral("The settings file %1 could not be read. It has been kept as %2, and the program "
                              "starts with new settings, saved as usual.")
                   .arg(damaged, aside));
}

TCCustomRegistry::~TCCustomRegistry()
{
    Save();
}

void TCCustomRegistry::Load()
{
    ReadSettings();
}

// Errors of the store while it is destroyed have no caller left to reach: they are shown here.
void TCCustomRegistry::Save()
{
    if (FSaved)
        return;
    FSaved = true;
    try {
        SaveChanges();
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
    }
}

void TCCustomRegistry::SaveChanges()
{
    if (!FRegistry->HasOpenKey())
        return;
    FGathered.clear();
    FGathering = true;
    try {
        WriteSettings();
    } catch (...) {
        FGathering = false;
        throw;
    }
    FGathering = false;
    bool changed = false;
    try {
        for (const auto& [key, value] : std::as_const(FGathered)) {
            const auto stored = FStored.constFind(key);
            if (stored != FStored.cend() && *stored == value)
                continue;
            StoreString(key.first, key.second, value);
            FStored.insert(key, value);
            changed = true;
        }
        if (changed)
            FRegistry->Flush();
    } catch (...) {
        // What could not be stored is tried again, whole, at the next save.
        FStored.clear();
        throw;
    }
}

QString TCCustomRegistry::GetKeyPath() const
{
    return QStringLiteral("\\Software\\%1\\%2").arg(QString::fromLatin1(MakerName), ProductKeyOf(ApplicationTitle()));
}

bool TCCustomRegistry::IsLocked(const QString& section) const
{
    const QString locked = StoredString(*FSystemRegistry, section, QStringLiteral("Locked")).value_or(QString());
    return locked.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || locked.toInt() != 0;
}

QString TCCustomRegistry::SourceOf(const QString& section) const
{
    return IsLocked(section) ? FSystemRegistry->FileName() : FRegistry->FileName();
}

QString TCCustomRegistry::ReadString(const QString& section, const QString& name, const QString& defaultValue)
{
    std::optional<QString> result;
    if (!IsLocked(section))
        result = StoredString(*FRegistry, section, name);
    if (!result)
        result = StoredString(*FSystemRegistry, section, name);
    return result.value_or(defaultValue);
}

int TCCustomRegistry::ReadInteger(const QString& section, const QString& name, int defaultValue)
{
    bool ok = false;
    const int value = ReadString(section, name, QString()).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool TCCustomRegistry::ReadBool(const QString& section, const QString& name, bool defaultValue)
{
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void TCCustomRegistry::WriteString(const QString& section, const QString& name, const QString& value)
{
    if (FGathering)
        FGathered.append(qMakePair(qMakePair(section, name), value));
    else
        StoreString(section, name, value);
}

void TCCustomRegistry::StoreString(const QString& section, const QString& name, const QString& value)
{
    if (!FRegistry->HasOpenKey() || IsLocked(section))
        return;
    FRegistry->OpenSection(section, true);
    try {
        FRegistry->WriteString(name, value);
    } catch (...) {
        FRegistry->CloseSection();
        throw;
    }
    FRegistry->CloseSection();
}

void TCCustomRegistry::WriteInteger(const QString& section, const QString& name, int value)
{
    WriteString(section, name, QString::number(value));
}

void TCCustomRegistry::WriteBool(const QString& section, const QString& name, bool value)
{
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

// Frame position with frame position, client size with client size, so that a window neither
// creeps nor grows from one run to the next.
void TCCustomRegistry::ReadFormPlacement(QWidget* form)
{
    const QString name = form->objectName();
    const int top = ReadInteger(FormsSection, name + QStringLiteral("Top"), form->y());
    const int left = ReadInteger(FormsSection, name + QStringLiteral("Left"), form->x());
    QSize size = form->size();
    if (HasSizeableBorder(form)) {
        size = QSize(ReadInteger(FormsSection, name + QStringLiteral("Width"), form->width()),
                     ReadInteger(FormsSection, name + QStringLiteral("Height"), form->height()));
    }
    // Never larger than the free area of its screen (a small one, or a large scale), nor off
    // it; never smaller than the form can be.
    QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    QRect free = (screen ? screen : form->screen())->availableGeometry();
    // The frame, where it is known already (a window shown before).
    if (const QWindow* window = form->windowHandle())
        free = free.marginsRemoved(window->frameMargins());
    if (HasSizeableBorder(form))
        size = size.boundedTo(free.size()).expandedTo(form->minimumSize());
    form->resize(size);
    form->move(qMax(free.left(), qMin(left, free.right() + 1 - size.width())),
               qMax(free.top(), qMin(top, free.bottom() + 1 - size.height())));
}

void TCCustomRegistry::WriteFormPlacement(QWidget* form)
{
    if (form->isMinimized() || form->isMaximized() || form->isFullScreen())
        return;
    const QString name = form->objectName();
    WriteInteger(FormsSection, name + QStringLiteral("Top"), form->y());
    WriteInteger(FormsSection, name + QStringLiteral("Left"), form->x());
    if (HasSizeableBorder(form)) {
        WriteInteger(FormsSection, name + QStringLiteral("Width"), form->width());
        WriteInteger(FormsSection, name + QStringLiteral("Height"), form->height());
    }
    FRegistry->Flush();
}
