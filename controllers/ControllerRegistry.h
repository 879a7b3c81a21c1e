#pragma once

#include "shared/KestControllerCustomRegistry.h"

#include <QDateTime>
#include <QStringList>
#include <QSize>
#include <optional>

// The connection to an MQTT broker, as the settings file (or the administrator's) gives it.
struct TMqttSettings
{
    // mqtt://HOST[:PORT] or mqtts://HOST[:PORT]; empty: no MQTT.
    QString Broker;
    QString User;
    // For administrators: a file holding the password, refused if others can read it.
    QString PasswordFile;
    // The screen's name in topics; empty: from the host name.
    QString Name;
    QStringList Groups;
    // Home Assistant's discovery prefix; empty: none.
    QString Discovery = QStringLiteral("homeassistant");
    QString CaFile;

    bool operator==(const TMqttSettings& other) const
    {
        return Broker == other.Broker && User == other.User && PasswordFile == other.PasswordFile && Name == other.Name
               && Groups == other.Groups && Discovery == other.Discovery && CaFile == other.CaFile;
    }
    bool operator!=(const TMqttSettings& other) const { return !(*this == other); }
};

// The program's settings record and site list, read at start and written at exit.
class TCRegistry : public TCCustomRegistry
{
public:
    TCRegistry();
    ~TCRegistry() override;

    int SiteCount() const;
    // The administrator's lock on the site list or on the settings record.
    bool SitesLocked() const;
    bool SettingsLocked() const;
    bool CertificatesLocked() const;
    bool PermissionsLocked() const;
    bool MqttLocked() const;

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
    // Seconds without input in the window before cycling goes on; 0 never waits.
    int TimerCyclePause = 30;
    bool FullScreen = false;

    // Per site, entry i for site i, each kept as long as the site list: a site's own cycle and
    // refresh seconds (empty: the global interval, 0: never) and its zoom in percent (empty: 100).
    QStringList CycleTimes;
    QStringList RefreshTimes;
    QStringList Zooms;
    // Per site, the weekly windows in which it cycles and refreshes (empty: always), kept as
    // stored even where they can't be read.
    QStringList Schedules;
    // Per site, the name of a store of its own for cookies, storage and cache, shared by the
    // sites of that name (empty: the store every other site shares).
    QStringList Profiles;
    // Per site, CSS put on its page after every load, or the path of a .css file (empty: none).
    QStringList Styles;
    // Per site, the seconds one pass of its page from top to bottom takes (empty: it never scrolls).
    QStringList Scrolls;
    // Per site, the screen its window fills: a screen's name (HDMI-1) or its number from 1 (empty:
    // the main window's).
    QStringList Screens;
    // Certificates trusted beyond the authorities': "host:port SHA256HEX" each.
    QStringList TrustedCertificates;
    // Sites' answers to permission requests: "origin feature allow|block" each.
    QStringList PermissionDecisions;
    // Written only where it differs from the default or the file already holds it: a file without
    // MQTT gets no section for it.
    TMqttSettings Mqtt;
    // The weekly windows in which the screen is on, in the form of Schedules (empty: always).
    // Read, never written.
    QString ScreenSchedule;
    // Sites side by side in each window, "COLUMNSxROWS" (empty or 1x1: one at a time), as stored.
    QString Tiles;

    void AddSite(const QString& title, const QString& address);
    void RemoveSite(int index);
    // Pads the per-site lists with empty entries, or cuts them, to the length of the site list.
    void FitSiteValues();
    // Every per-site list, each entry i for site i, the site list's own two first.
    QList<QStringList*> SiteValues();
    // The CSS a site's entry in Styles gives: the text, or a readable .css file's; empty else.
    QString StyleSheet(int site) const;
    // The seconds that apply to a site; nothing when it never cycles or refreshes.
    std::optional<int> CycleTime(int site) const;
    std::optional<int> RefreshTime(int site) const;
    int Zoom(int site) const;
    // The seconds of a site's scrolling pass; 0: it doesn't scroll.
    int ScrollTime(int site) const;
    // The site's schedule is open at that local time (always, for one that can't be read).
    bool Scheduled(int site, const QDateTime& localTime) const;
    void SetZoom(int site, int percent);
    // The columns and rows Tiles gives; 1x1 for one that can't be read.
    QSize TileGrid() const;

    // What a new site is until someone names it and gives it an address.
    static inline const QString NewSiteTitle = QStringLiteral("New");
    static inline const QString BlankAddress = QStringLiteral("about:blank");

protected:
    void ReadSettings() override;
    void WriteSettings() override;

private:
    void ReadSiteList();

    // Entries of a hand-written list beyond its pairs: no site, but written back as they were.
    QStringList FUnpairedTitles;
    QStringList FUnpairedUrls;
};

// A site's own seconds as stored: a whole number from 0, or empty (for anything else too).
QString SiteSecondsEntry(const QString& text);
// The CSS of a Styles entry: the entry itself, or where it names a .css file, that file's text;
// nothing where the file can't be read.
std::optional<QString> StyleSheetOf(const QString& entry);
// A site's zoom as stored: a percentage from the least to the most zoom, or empty.
QString SiteZoomEntry(const QString& text);

// Zoom levels a site may have, in percent.
constexpr int MinimumZoom = 25;
constexpr int MaximumZoom = 500;
constexpr int NormalZoom = 100;
