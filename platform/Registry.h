#pragma once

#include "platform/PlatformError.h"

#include <QSettings>
#include <QStringList>
#include <memory>

class ERegistryException : public EPlatformError
{
public:
    using EPlatformError::EPlatformError;
};

// Whose key: the user's own, or the one the administrator sets for every user of the machine.
enum class TRootKey { CurrentUser, LocalMachine };

// One settings key of named sections holding string values. With QSettings in its native
// format this is the registry key HKEY_CURRENT_USER (or HKEY_LOCAL_MACHINE) \Software\<maker>
// \<product> on Windows and <maker>/<product>.conf in $XDG_CONFIG_HOME (or the first folder of
// $XDG_CONFIG_DIRS) elsewhere. Values written are kept in memory until Flush, which replaces
// the stored file as a whole. A key never falls back to another one: its owner decides that.
class TRegistry
{
public:
    explicit TRegistry(TRootKey root = TRootKey::CurrentUser);
    ~TRegistry();

    // Opens "\Software\<maker>\<product>" with full access, creating it when missing; false
    // when it can't be read or written. Nothing is stored while no key is open.
    bool OpenKey(const QString& path);
    // Opens the key for reading only; a missing key opens empty. False when it can't be read.
    bool OpenKeyReadOnly(const QString& path);
    bool HasOpenKey() const;
    // The file whose content can't be read, when that was why OpenKey failed.
    QString UnreadableFile() const;
    // After OpenKey failed on a file whose content can't be read: renames it, beside itself, to
    // NAME.damaged-YYYYMMDD-HHMMSS and returns that path, so that the key opens anew. Empty
    // where there is no such file (the registry, a file that can't be written).
    QString SetAsideUnreadable();
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
    std::unique_ptr<QSettings> Open(const QString& path) const;

    TRootKey FRoot;
    bool FReadOnly = false;
    std::unique_ptr<QSettings> FSettings;
    std::unique_ptr<QSettings> FUnreadable;
    // The file of the last key that could not be opened because its content can't be read.
    QString FDamagedFile;
    QStringList FUnflushed;
};
