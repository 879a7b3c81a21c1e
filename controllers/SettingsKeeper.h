#pragma once

#include <QObject>
#include <QTimer>

class TCCustomRegistry;

// Keeps the settings file up to date while the program runs, so that a power cut or a killed
// program loses nothing: every two seconds what changed since is written, as one atomic
// replacement of the file, and changes made together go together. A failed write is told once,
// until a write succeeds again.
class TSettingsKeeper : public QObject
{
public:
    explicit TSettingsKeeper(TCCustomRegistry* settings);

private:
    void SaveChanges();

    TCCustomRegistry* FSettings;
    QTimer FTimer;
    bool FFailing = false;
};
