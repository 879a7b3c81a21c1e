#pragma once

#include "shared/KestException.h"

#include <QSettings>
#include <QStringList>
#include <memory>

class ERegistryException : public EKestException
{
public:
    using EKestException::EKestException;
};

// One per-user settings key of named sections holding string values. With QSettings in its
// native format this is the registry key HKEY_CURRENT_USER\Software\<maker>\<product> on
// Windows and $XDG_CONFIG_HOME/<maker>/<product>.conf elsewhere. Values written are kept in
// memory until Flush, which replaces the stored file as a whole.
class TRegistry
{
public:
    TRegistry();
    ~TRegistry();

    // Opens "\Software\<maker>\<product>" with full access, creating it when missing; false
    // when it can't be read or written. Nothing is stored while no key is open.
    bool OpenKey(const QString& path);
    bool HasOpenKey() const;
    QString FileName() const;

    // False when the section is missing and not to be created, or when no key is open.
    bool OpenSection(const QString& section, bool canCreate);
    void CloseSection();

    bool ValueExists(const QString& name) const;
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);

    // Stores what was written since the last flush.
    void Flush();

private:
    std::unique_ptr<QSettings> FSettings;
    QStringList FUnflushed;
};
