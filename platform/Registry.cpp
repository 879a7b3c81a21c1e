#include "platform/Registry.h"

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() = default;

bool TRegistry::OpenKey(const QString& path)
{
    FSettings.reset();
    const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts.at(0) != QLatin1String("Software"))
        return false;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                parts.at(1), parts.at(2));
    // The file is parsed on first use: a key that can't be read must not be written over later.
    settings->childGroups();
    if (settings->status() != QSettings::NoError)
        return false;
    // Creates the folder on the way; a key that can't be written can't be opened with full access.
    if (!settings->isWritable())
        return false;
    FSettings = std::move(settings);
    return true;
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
    if (!exists && !FSettings->isWritable())
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
    if (value.typeId() != QMetaType::QString)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value.toString();
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    if (!FSettings || !FSettings->isWritable())
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
