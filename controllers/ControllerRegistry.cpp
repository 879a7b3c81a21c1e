#include "controllers/ControllerRegistry.h"

#include "platform/MessageBox.h"

#include "controllers/Schedule.h"
#include "shared/LibCommaText.h"

#include <QFile>
#include <QRegularExpression>
#include <climits>
#include <cstdio>

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString SitesSection = QStringLiteral("Sites");
const QString CertificatesSection = QStringLiteral("Certificates");
const QString PermissionsSection = QStringLiteral("Permissions");
const QString MqttSection = QStringLiteral("Mqtt");

// A per-site entry: a whole number from `least` to `most`, or empty (a bad entry too).
QString Entry(const QString& text, int least, int most)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok && value >= least && value <= most ? QString::number(value) : QString();
}

QStringList Entries(const QString& commaText, int least, int most)
{
    QStringList entries = FromCommaText(commaText);
    for (QString& entry : entries)
        entry = Entry(entry, least, most);
    return entries;
}

// A site's own seconds, the global interval when it has none; nothing for 0 (never).
std::optional<int> Seconds(const QStringList& entries, int site, int interval)
{
    const QString entry = entries.value(site);
    if (entry.isEmpty())
        return interval;
    const int seconds = entry.toInt();
    return seconds > 0 ? std::optional<int>(seconds) : std::nullopt;
}

// Trusted certificates as comma text: "host:port HEX" each, quoted as comma text has it; an entry
// written without its quotes falls apart at the space and is put together again.
QStringList CertificateEntries(const QStringList& items)
{
    static const QRegularExpression address(QStringLiteral("^\\S+:\\d{1,5}$"));
    static const QRegularExpression fingerprint(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    QStringList entries;
    for (int i = 0; i < items.size(); ++i) {
        if (i + 1 < items.size() && address.match(items.at(i)).hasMatch() && fingerprint.match(items.at(i + 1)).hasMatch()) {
            entries.append(items.at(i) + QLatin1Char(' ') + items.at(i + 1));
            ++i;
        } else {
            entries.append(items.at(i));
        }
    }
    return entries;
}

void Fit(QStringList& entries, int count)
{
    entries = entries.mid(0, count);
    while (entries.size() < count)
        entries.append(QString());
}

} // namespace

QString SiteSecondsEntry(const QString& text)
{
    return Entry(text, 0, INT_MAX);
}

QString SiteZoomEntry(const QString& text)
{
    return Entry(text, MinimumZoom, MaximumZoom);
}

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

bool TCRegistry::SitesLocked() const
{
    return IsLocked(SitesSection);
}

bool TCRegistry::SettingsLocked() const
{
    return IsLocked(SettingsSection);
}

bool TCRegistry::MqttLocked() const
{
    return IsLocked(MqttSection);
}

bool TCRegistry::CertificatesLocked() const
{
    return IsLocked(CertificatesSection);
}

bool TCRegistry::PermissionsLocked() const
{
    return IsLocked(PermissionsSection);
}

void TCRegistry::AddSite(const QString& title, const QString& address)
{
    Titles.append(title);
    Urls.append(address);
    FitSiteValues();
}

void TCRegistry::RemoveSite(int index)
{
    for (QStringList* list : SiteValues()) {
        if (index >= 0 && index < list->size())
            list->removeAt(index);
    }
}

void TCRegistry::FitSiteValues()
{
    for (QStringList* list : SiteValues().mid(2))
        Fit(*list, SiteCount());
}

QList<QStringList*> TCRegistry::SiteValues()
{
    return {&Titles, &Urls, &CycleTimes, &RefreshTimes, &Zooms, &Schedules, &Profiles, &Styles, &Scrolls, &Screens};
}

QString TCRegistry::StyleSheet(int site) const
{
    const std::optional<QString> css = StyleSheetOf(Styles.value(site));
    return css.value_or(QString());
}

std::optional<int> TCRegistry::CycleTime(int site) const
{
    return Seconds(CycleTimes, site, TimerCycleInterval);
}

std::optional<int> TCRegistry::RefreshTime(int site) const
{
    return Seconds(RefreshTimes, site, TimerRefreshInterval);
}

int TCRegistry::ScrollTime(int site) const
{
    return Scrolls.value(site).toInt();
}

int TCRegistry::Zoom(int site) const
{
    const QString entry = Zooms.value(site);
    return entry.isEmpty() ? NormalZoom : entry.toInt();
}

bool TCRegistry::Scheduled(int site, const QDateTime& localTime) const
{
    return TSchedule::Of(Schedules.value(site)).IsOpen(localTime);
}

QSize TCRegistry::TileGrid() const
{
    // More than six a side leaves tiles too small to read on any screen.
    static const QRegularExpression form(QStringLiteral("^([1-6])\\s*[xX]\\s*([1-6])$"));
    const QRegularExpressionMatch match = form.match(Tiles);
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize(1, 1);
}

void TCRegistry::SetZoom(int site, int percent)
{
    if (site >= 0 && site < Zooms.size())
        Zooms[site] = percent == NormalZoom ? QString() : QString::number(qBound(MinimumZoom, percent, MaximumZoom));
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
    TimerCyclePause = ReadInteger(SettingsSection, QStringLiteral("TimerCyclePause"), 30);
    FullScreen = ReadBool(SettingsSection, QStringLiteral("FullScreen"), false);
    ScreenSchedule = ReadString(SettingsSection, QStringLiteral("ScreenSchedule"), QString()).trimmed();
    Tiles = ReadString(SettingsSection, QStringLiteral("Tiles"), QString()).trimmed();
    ReadSiteList();
    CycleTimes = Entries(ReadString(SitesSection, QStringLiteral("CycleTimes"), QString()), 0, INT_MAX);
    RefreshTimes = Entries(ReadString(SitesSection, QStringLiteral("RefreshTimes"), QString()), 0, INT_MAX);
    Zooms = Entries(ReadString(SitesSection, QStringLiteral("Zooms"), QString()), MinimumZoom, MaximumZoom);
    Schedules = FromCommaText(ReadString(SitesSection, QStringLiteral("Schedules"), QString()));
    Profiles = FromCommaText(ReadString(SitesSection, QStringLiteral("Profiles"), QString()));
    for (QString& profile : Profiles)
        profile = profile.trimmed();
    Styles = FromCommaText(ReadString(SitesSection, QStringLiteral("Styles"), QString()));
    Scrolls = Entries(ReadString(SitesSection, QStringLiteral("Scrolls"), QString()), 0, INT_MAX);
    Screens = FromCommaText(ReadString(SitesSection, QStringLiteral("Screens"), QString()));
    for (QString& screen : Screens)
        screen = screen.trimmed();
    PermissionDecisions = FromCommaText(ReadString(PermissionsSection, QStringLiteral("Decisions"), QString()));
    Mqtt.Broker = ReadString(MqttSection, QStringLiteral("Broker"), QString()).trimmed();
    Mqtt.User = ReadString(MqttSection, QStringLiteral("User"), QString());
    Mqtt.PasswordFile = ReadString(MqttSection, QStringLiteral("PasswordFile"), QString());
    Mqtt.Name = ReadString(MqttSection, QStringLiteral("Name"), QString()).trimmed();
    Mqtt.Groups = FromCommaText(ReadString(MqttSection, QStringLiteral("Groups"), QString()));
    Mqtt.Discovery = ReadString(MqttSection, QStringLiteral("Discovery"), QStringLiteral("homeassistant")).trimmed();
    Mqtt.CaFile = ReadString(MqttSection, QStringLiteral("CaFile"), QString());
    TrustedCertificates = CertificateEntries(FromCommaText(ReadString(CertificatesSection, QStringLiteral("Trusted"), QString())));
    FitSiteValues();
}

// Hand-written lists that don't pair (an unquoted title with a space is two items in comma text)
// are read again split at their commas alone. Where they still don't pair, the sites are the
// pairs, and the entries left over stay in the file as written, after the list.
void TCRegistry::ReadSiteList()
{
    const QString titles = ReadString(SitesSection, QStringLiteral("Titles"), NewSiteTitle);
    const QString urls = ReadString(SitesSection, QStringLiteral("Urls"), BlankAddress);
    Titles = FromCommaText(titles);
    Urls = FromCommaText(urls);
    FUnpairedTitles.clear();
    FUnpairedUrls.clear();
    if (Titles.size() == Urls.size())
        return;
    const QStringList handTitles = FromCommaSeparated(titles);
    const QStringList handUrls = FromCommaSeparated(urls);
    for (const auto& [someTitles, someUrls] : {std::pair(handTitles, Urls), std::pair(Titles, handUrls), std::pair(handTitles, handUrls)}) {
        if (someTitles.size() == someUrls.size()) {
            Titles = someTitles;
            Urls = someUrls;
            return;
        }
    }
    const int count = qMin(Titles.size(), Urls.size());
    std::fprintf(stderr,
                 "Orvanta: in %s, [Sites] has %d titles and %d addresses, which don't pair up: the first %d sites "
                 "are shown, and the %d %s left over stay in the file as written. A title with a space or a comma is "
                 "written in double quotes: Titles=\"\\\"My Mail\\\",Alerts\".\n",
                 qPrintable(SourceOf(SitesSection)), int(Titles.size()), int(Urls.size()), count,
                 int(qMax(Titles.size(), Urls.size()) - count), Titles.size() > Urls.size() ? "titles" : "addresses");
    FUnpairedTitles = Titles.mid(count);
    FUnpairedUrls = Urls.mid(count);
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
    WriteInteger(SettingsSection, QStringLiteral("TimerCyclePause"), TimerCyclePause);
    WriteBool(SettingsSection, QStringLiteral("FullScreen"), FullScreen);
    WriteString(SitesSection, QStringLiteral("Titles"), ToCommaText(Titles + FUnpairedTitles));
    WriteString(SitesSection, QStringLiteral("Urls"), ToCommaText(Urls + FUnpairedUrls));
    WriteString(SitesSection, QStringLiteral("CycleTimes"), ToCommaText(CycleTimes));
    WriteString(SitesSection, QStringLiteral("RefreshTimes"), ToCommaText(RefreshTimes));
    WriteString(SitesSection, QStringLiteral("Zooms"), ToCommaText(Zooms));
    WriteString(SitesSection, QStringLiteral("Schedules"), ToCommaText(Schedules));
    WriteString(SitesSection, QStringLiteral("Profiles"), ToCommaText(Profiles));
    WriteString(SitesSection, QStringLiteral("Styles"), ToCommaText(Styles));
    WriteString(SitesSection, QStringLiteral("Scrolls"), ToCommaText(Scrolls));
    WriteString(SitesSection, QStringLiteral("Screens"), ToCommaText(Screens));
    if (!Tiles.isEmpty() || !ReadString(SettingsSection, QStringLiteral("Tiles"), QString()).isEmpty())
        WriteString(SettingsSection, QStringLiteral("Tiles"), Tiles);
    const TMqttSettings defaults;
    const auto writeMqtt = [this](const QString& name, const QString& value, const QString& fallback) {
        if (value != fallback || !ReadString(MqttSection, name, QString()).isEmpty())
            WriteString(MqttSection, name, value);
    };
    writeMqtt(QStringLiteral("Broker"), Mqtt.Broker, defaults.Broker);
    writeMqtt(QStringLiteral("User"), Mqtt.User, defaults.User);
    writeMqtt(QStringLiteral("PasswordFile"), Mqtt.PasswordFile, defaults.PasswordFile);
    writeMqtt(QStringLiteral("Name"), Mqtt.Name, defaults.Name);
    writeMqtt(QStringLiteral("Groups"), ToCommaText(Mqtt.Groups), ToCommaText(defaults.Groups));
    writeMqtt(QStringLiteral("Discovery"), Mqtt.Discovery, defaults.Discovery);
    writeMqtt(QStringLiteral("CaFile"), Mqtt.CaFile, defaults.CaFile);
    if (!PermissionDecisions.isEmpty() || !ReadString(PermissionsSection, QStringLiteral("Decisions"), QString()).isEmpty())
        WriteString(PermissionsSection, QStringLiteral("Decisions"), ToCommaText(PermissionDecisions));
    if (!TrustedCertificates.isEmpty() || !ReadString(CertificatesSection, QStringLiteral("Trusted"), QString()).isEmpty())
        WriteString(CertificatesSection, QStringLiteral("Trusted"), ToCommaText(TrustedCertificates));
}

std::optional<QString> StyleSheetOf(const QString& entry)
{
    const QString text = entry.trimmed();
    if (!text.endsWith(QLatin1String(".css"), Qt::CaseInsensitive) || text.contains(QLatin1Char('{')))
        return text;
    QFile file(text);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.read(1024 * 1024));
}
