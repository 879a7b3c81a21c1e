#include "platform/Registry.h"

#include "shared/LibCommaText.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

TRegistry::TRegistry(TRootKey root) : FRoot(root) {}

TRegistry::~TRegistry() = default;

std::unique_ptr<QSettings> TRegistry::Open(const QString& path) const
{
    const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts.at(0) != QLatin1String("Software"))
        return nullptr;
    const auto scope = FRoot == TRootKey::LocalMachine ? QSettings::SystemScope : QSettings::UserScope;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, scope, parts.at(1), parts.at(2));
    settings->setFallbacksEnabled(false);
    settings->childGroups();
    return settings;
}

bool TRegistry::OpenKey(const QString& path)
{
    FReadOnly = false;
    FDamagedFile.clear();
    FSettings = Open(path);
    // A key that can't be read must not be written over later. Creates the folder on the way;
    // a key that can't be written can't be opened with full access.
    if (FSettings && FSettings->status() == QSettings::FormatError && QFileInfo(FSettings->fileName()).isFile())
        FDamagedFile = FSettings->fileName();
    if (FSettings && (FSettings->status() != QSettings::NoError || !FSettings->isWritable()))
        FSettings.reset();
    return FSettings != nullptr;
}

// A user's key on a file system reads the machine's file too, and takes on its parse errors
// unless that file is already open elsewhere: an unreadable machine key stays open, unused,
// for as long as this accessor lives, so that the user's key opened after it is judged alone.
bool TRegistry::OpenKeyReadOnly(const QString& path)
{
    FReadOnly = true;
    FSettings = Open(path);
    if (FSettings && FSettings->status() != QSettings::NoError)
        FUnreadable = std::move(FSettings);
    return FSettings != nullptr;
}

QString TRegistry::UnreadableFile() const
{
    return FDamagedFile;
}

QString TRegistry::SetAsideUnreadable()
{
    if (FDamagedFile.isEmpty())
        return QString();
    const QString aside =
        FDamagedFile + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::exists(aside) || !QFile::rename(FDamagedFile, aside))
        return QString();
    FDamagedFile.clear();
    return aside;
}

bool TRegistry::HasOpenKey() const
{
    return FSettings != nullptr;
}

QString TRegistry::FileName() const
{
    return FSettings ? FSettings->fileName() : QString();
}

bool TRegistry::OpenSection(const QString& section, bool canCreate)
{
    if (!FSettings)
        return false;
    const bool exists = FSettings->childGroups().contains(section);
    if (!exists && !canCreate)
        return false;
    if (!exists && (FReadOnly || !FSettings->isWritable()))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(section));
    FSettings->beginGroup(section);
    return true;
}

void TRegistry::CloseSection()
{
    if (FSettings && !FSettings->group().isEmpty())
        FSettings->endGroup();
}

bool TRegistry::ValueExists(const QString& name) const
{
    return FSettings && FSettings->contains(name);
}

QString TRegistry::ReadString(const QString& name) const
{
    const QVariant value = FSettings ? FSettings->value(name) : QVariant();
    // A hand-written list with unquoted commas (Titles=My Mail,Alerts) is read by the file's
    // format as a list of strings: its text is the same list as comma text.
    if (value.typeId() == QMetaType::QStringList)
        return ToCommaText(value.toStringList());
    if (value.typeId() != QMetaType::QString)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value.toString();
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    if (!FSettings || FReadOnly || !FSettings->isWritable())
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
    FSettings->setValue(name, value);
    FUnflushed.append(name);
}

void TRegistry::Flush()
{
    if (!FSettings || FUnflushed.isEmpty())
        return;
    FSettings->sync();
    const QString first = FUnflushed.first();
    FUnflushed.clear();
    if (FSettings->status() != QSettings::NoError)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(first));
}
