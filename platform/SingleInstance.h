#pragma once

#include <QObject>
#include <memory>

class QLocalServer;
class QLockFile;

// One running copy per program file and user: the first copy holds a lock and listens; a
// later copy asks it to restore and raise its window, then leaves. Copies count as the same
// program when their canonical program paths are equal in any letter case.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit TSingleInstance(const QString& programPath, QObject* parent = nullptr);
    ~TSingleInstance() override;

    bool IsFirst() const;
    // A later copy: asks the first one to bring its window forward. Gives up quietly.
    void ActivateFirst();

Q_SIGNALS:
    void ActivationRequested();

private:
    void Listen();
    void Accept();

    QString FName;
    std::unique_ptr<QLockFile> FLock;
    QLocalServer* FServer = nullptr;
    bool FFirst = false;
};
