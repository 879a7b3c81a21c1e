#include "shared/KestControllerCustomRegistry.h"

#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

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
    if (!FRegistry->OpenKey(GetKeyPath()))
        ShowNotice(QStringLiteral("Error reading Windows Registry."));
    if (!systemRead)
        ShowNotice(QStringLiteral("The administrator's settings can't be read. Your own settings are used."));
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
    if (!FRegistry->HasOpenKey())
        return;
    try {
        WriteSettings();
        FRegistry->Flush();
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
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
    form->move(left, top);
    if (HasSizeableBorder(form)) {
        const int width = ReadInteger(FormsSection, name + QStringLiteral("Width"), form->width());
        const int height = ReadInteger(FormsSection, name + QStringLiteral("Height"), form->height());
        form->resize(width, height);
    }
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
