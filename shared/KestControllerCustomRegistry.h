#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <memory>

class QWidget;
class TRegistry;

// A reusable settings store: it opens the program's per-user key, reads and writes window
// placements at once, and reads its settings when created. SaveChanges() stores the values that
// changed since the last save (its owner calls it whenever it likes), and the store saves once
// more when destroyed. A derived store calls Load() at the end of its constructor and Save() at
// the start of its destructor, while its own fields exist.
// The administrator's key for the machine stands behind the user's: a value the user has not
// stored is read from it, and a section it marks Locked=true is read from it alone and never
// written to the user's key, which keeps its own values for the day the lock is lifted.
class TCCustomRegistry
{
public:
    virtual ~TCCustomRegistry();

    TCCustomRegistry(const TCCustomRegistry&) = delete;
    TCCustomRegistry& operator=(const TCCustomRegistry&) = delete;

    void ReadFormPlacement(QWidget* form);
    void WriteFormPlacement(QWidget* form);
    QString GetKeyPath() const;
    bool IsLocked(const QString& section) const;
    // The file (or registry key) a section's values come from: the administrator's where it
    // locks the section, else the user's.
    QString SourceOf(const QString& section) const;
    // Stores, as one replacement of the file, the values that differ from those it stored last.
    // Throws the key's error when it can't.
    void SaveChanges();

protected:
    TCCustomRegistry();

    void Load();
    void Save();

    virtual void ReadSettings() {}
    virtual void WriteSettings() {}

    int ReadInteger(const QString& section, const QString& name, int defaultValue);
    bool ReadBool(const QString& section, const QString& name, bool defaultValue);
    QString ReadString(const QString& section, const QString& name, const QString& defaultValue);
    void WriteInteger(const QString& section, const QString& name, int value);
    void WriteBool(const QString& section, const QString& name, bool value);
    void WriteString(const QString& section, const QString& name, const QString& value);

private:
    void StoreString(const QString& section, const QString& name, const QString& value);
    void OpenUserKey();

    std::unique_ptr<TRegistry> FRegistry;
    std::unique_ptr<TRegistry> FSystemRegistry;
    bool FSaved = false;
    // While SaveChanges asks for the settings, what WriteSettings writes is gathered here; what
    // was stored last, by section and name, is kept to compare with.
    bool FGathering = false;
    QList<QPair<QPair<QString, QString>, QString>> FGathered;
    QMap<QPair<QString, QString>, QString> FStored;
};
