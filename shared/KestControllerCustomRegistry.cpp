#include "shared/KestControllerCustomRegistry.h"

#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"

#include <QWidget>

namespace {

const QString FormsSection = QStringLiteral("Forms");

bool HasSizeableBorder(const QWidget* form)
{
    return form->minimumSize() != form->maximumSize();
}

} // namespace

TCCustomRegistry::TCCustomRegistry() : FRegistry(std::make_unique<TRegistry>())
{
    if (!FRegistry->OpenKey(GetKeyPath()))
        ShowNotice(QStringLiteral("Error reading Windows Registry."));
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

QString TCCustomRegistry::ReadString(const QString& section, const QString& name, const QString& defaultValue)
{
    if (!FRegistry->OpenSection(section, false))
        return defaultValue;
    QString result = defaultValue;
    try {
        if (FRegistry->ValueExists(name))
            result = FRegistry->ReadString(name);
    } catch (const ERegistryException&) {
        // A value of another type than text: the default stands.
    }
    FRegistry->CloseSection();
    return result;
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
    if (!FRegistry->HasOpenKey())
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
