#include "controllers/SettingsKeeper.h"

#include "platform/MessageBox.h"
#include "shared/KestControllerCustomRegistry.h"

#include <exception>

namespace {

constexpr int GatherMs = 2000;

} // namespace

TSettingsKeeper::TSettingsKeeper(TCCustomRegistry* settings) : FSettings(settings)
{
    FTimer.setInterval(GatherMs);
    connect(&FTimer, &QTimer::timeout, this, &TSettingsKeeper::SaveChanges);
    FTimer.start();
}

void TSettingsKeeper::SaveChanges()
{
    try {
        FSettings->SaveChanges();
        FFailing = false;
    } catch (const std::exception& error) {
        if (FFailing)
            return;
        FFailing = true;
        // The box waits for its answer in a loop of its own, where this timer runs on.
        FTimer.stop();
        ShowError(QString::fromStdString(error.what()));
        FTimer.start();
    }
}
