#pragma once

#include "shared/KestControllerCustomRegistry.h"

#include <QStringList>

// The program's settings record and site list, read at start and written at exit.
class TCRegistry : public TCCustomRegistry
{
public:
    TCRegistry();
    ~TCRegistry() override;

    int SiteCount() const;

    int ViewMode = 2;
    int ProgressBar = 2;
    bool HintProgressBar = true;
    bool HintBrowserSelection = true;
    int AddressBar = 1;
    QStringList Urls;
    QStringList Titles;
    bool TimerRefreshEnabled = false;
    bool TimerCycleEnabled = false;
    int TimerRefreshInterval = 120;
    int TimerCycleInterval = 10;

protected:
    void ReadSettings() override;
    void WriteSettings() override;
};
