#include "controllers/ControllerRegistry.h"

#include "shared/LibCommaText.h"

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString SitesSection = QStringLiteral("Sites");

} // namespace

TCRegistry::TCRegistry()
{
    Load();
}

TCRegistry::~TCRegistry()
{
    Save();
}

int TCRegistry::SiteCount() const
{
    return Titles.size();
}

void TCRegistry::ReadSettings()
{
    ViewMode = ReadInteger(SettingsSection, QStringLiteral("ViewMode"), 2);
    ProgressBar = ReadInteger(SettingsSection, QStringLiteral("ProgressBar"), 2);
    AddressBar = ReadInteger(SettingsSection, QStringLiteral("AddressBar"), 1);
    HintProgressBar = ReadBool(SettingsSection, QStringLiteral("HintProgressBar"), true);
    HintBrowserSelection = ReadBool(SettingsSection, QStringLiteral("HintBrowserSelection"), true);
    TimerRefreshEnabled = ReadBool(SettingsSection, QStringLiteral("TimerRefreshEnabled"), false);
    TimerCycleEnabled = ReadBool(SettingsSection, QStringLiteral("TimerCycleEnabled"), false);
    TimerRefreshInterval = ReadInteger(SettingsSection, QStringLiteral("TimerRefreshInterval"), 120);
    TimerCycleInterval = ReadInteger(SettingsSection, QStringLiteral("TimerCycleInterval"), 10);
    Titles = FromCommaText(ReadString(SitesSection, QStringLiteral("Titles"), QStringLiteral("New")));
    Urls = FromCommaText(ReadString(SitesSection, QStringLiteral("Urls"), QStringLiteral("about:blank")));
    // Hand-edited lists may differ in length; every user indexes both by the same number.
    const int count = qMin(Titles.size(), Urls.size());
    Titles = Titles.mid(0, count);
    Urls = Urls.mid(0, count);
}

void TCRegistry::WriteSettings()
{
    WriteInteger(SettingsSection, QStringLiteral("ViewMode"), ViewMode);
    WriteInteger(SettingsSection, QStringLiteral("ProgressBar"), ProgressBar);
    WriteInteger(SettingsSection, QStringLiteral("AddressBar"), AddressBar);
    WriteBool(SettingsSection, QStringLiteral("HintProgressBar"), HintProgressBar);
    WriteBool(SettingsSection, QStringLiteral("HintBrowserSelection"), HintBrowserSelection);
    WriteBool(SettingsSection, QStringLiteral("TimerRefreshEnabled"), TimerRefreshEnabled);
    WriteBool(SettingsSection, QStringLiteral("TimerCycleEnabled"), TimerCycleEnabled);
    WriteInteger(SettingsSection, QStringLiteral("TimerRefreshInterval"), TimerRefreshInterval);
    WriteInteger(SettingsSection, QStringLiteral("TimerCycleInterval"), TimerCycleInterval);
    WriteString(SitesSection, QStringLiteral("Titles"), ToCommaText(Titles));
    WriteString(SitesSection, QStringLiteral("Urls"), ToCommaText(Urls));
}
