#include "controllers/SiteListFile.h"

#include "controllers/ControllerRegistry.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "shared/LibCommaText.h"
#include "views/ViewSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryFile>

namespace {

const QString Filter = QStringLiteral("Site lists (*.ini);;All files (*)");

// The values of a site list file, as in the settings file's [Sites] section.
const QString Titles = QStringLiteral("Sites/Titles");
const QString Urls = QStringLiteral("Sites/Urls");
const QString CycleTimes = QStringLiteral("Sites/CycleTimes");
const QString RefreshTimes = QStringLiteral("Sites/RefreshTimes");
const QString Zooms = QStringLiteral("Sites/Zooms");
const QString Schedules = QStringLiteral("Sites/Schedules");
const QString Profiles = QStringLiteral("Sites/Profiles");
const QString Styles = QStringLiteral("Sites/Styles");
const QString Scrolls = QStringLiteral("Sites/Scrolls");
const QString Screens = QStringLiteral("Sites/Screens");

} // namespace

void TSiteListFile::Export(TfrmSetup& dialog)
{
    QString fileName = AskFileName(&dialog, TFileDialogKind::Save, QStringLiteral("Export the site list"), Filter);
    if (fileName.isEmpty())
        return;
    // Named so that Import's filter finds it again.
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".ini");
    QList<TSiteRow> rows;
    for (int row = 0; row < dialog.sgSites->rowCount(); ++row)
        rows.append(dialog.Site(row));
    if (!Write(fileName, rows))
        ShowInformation(QStringLiteral("Can't write the site list to ") + fileName + QStringLiteral("."));
}

void TSiteListFile::Import(TfrmSetup& dialog)
{
    const QString fileName = AskFileName(&dialog, TFileDialogKind::Open, QStringLiteral("Import a site list"), Filter);
    if (fileName.isEmpty())
        return;
    QString error;
    const std::optional<QList<TSiteRow>> rows = Read(fileName, &error);
    if (!rows) {
        ShowInformation(QStringLiteral("Can't import the site list from ") + fileName + QStringLiteral(": ") + error);
        return;
    }
    dialog.sgSites->setRowCount(rows->size());
    for (int row = 0; row < rows->size(); ++row)
        dialog.SetSite(row, rows->at(row));
    dialog.sgSites->setCurrentCell(0, 0);
}

bool TSiteListFile::Write(const QString& fileName, const QList<TSiteRow>& rows)
{
    // Written beside the target and put in its place when complete: a file that was there
    // stays whole until then, and none of its other sections is carried over.
    QTemporaryFile part(QFileInfo(fileName).absolutePath() + QStringLiteral("/.site-list-XXXXXX"));
    if (!part.open())
        return false;
    part.close();
    QStringList titles, urls, cycleTimes, refreshTimes, zooms, schedules, profiles, styles, scrolls, screens;
    for (const TSiteRow& row : rows) {
        titles.append(row.Title);
        urls.append(row.Address);
        cycleTimes.append(SiteSecondsEntry(row.CycleTime));
        refreshTimes.append(SiteSecondsEntry(row.RefreshTime));
        zooms.append(row.Zoom);
        schedules.append(row.Schedule);
        profiles.append(row.Profile);
        styles.append(row.Style);
        scrolls.append(SiteSecondsEntry(row.Scroll));
        screens.append(row.Screen);
    }
    {
        QSettings file(part.fileName(), QSettings::IniFormat);
        file.setValue(Titles, ToCommaText(titles));
        file.setValue(Urls, ToCommaText(urls));
        file.setValue(CycleTimes, ToCommaText(cycleTimes));
        file.setValue(RefreshTimes, ToCommaText(refreshTimes));
        file.setValue(Zooms, ToCommaText(zooms));
        file.setValue(Schedules, ToCommaText(schedules));
        file.setValue(Profiles, ToCommaText(profiles));
        file.setValue(Styles, ToCommaText(styles));
        file.setValue(Scrolls, ToCommaText(scrolls));
        file.setValue(Screens, ToCommaText(screens));
        file.sync();
        if (file.status() != QSettings::NoError)
            return false;
    }
    if (QFile::exists(fileName) && !QFile::remove(fileName))
        return false;
    if (!QFile::rename(part.fileName(), fileName))
        return false;
    part.setAutoRemove(false);
    return true;
}

std::optional<QList<TSiteRow>> TSiteListFile::Read(const QString& fileName, QString* error)
{
    QFile probe(fileName);
    if (!probe.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the file can't be read.");
        return std::nullopt;
    }
    probe.close();
    QSettings file(fileName, QSettings::IniFormat);
    if (file.status() != QSettings::NoError || !file.contains(Titles) || !file.contains(Urls)) {
        *error = QStringLiteral("it holds no site list.");
        return std::nullopt;
    }
    // A value of any other type than text is no list of this program's.
    const auto list = [&file](const QString& name) -> std::optional<QStringList> {
        const QVariant value = file.value(name, QString());
        if (value.typeId() != QMetaType::QString)
            return std::nullopt;
        return FromCommaText(value.toString());
    };
    const auto titles = list(Titles), urls = list(Urls), cycleTimes = list(CycleTimes), refreshTimes = list(RefreshTimes),
               zooms = list(Zooms), schedules = list(Schedules), profiles = list(Profiles), styles = list(Styles), scrolls = list(Scrolls),
               screens = list(Screens);
    if (!titles || !urls || !cycleTimes || !refreshTimes || !zooms || !schedules || !profiles || !styles || !scrolls || !screens) {
        *error = QStringLiteral("a value in it is not text.");
        return std::nullopt;
    }
    const int count = titles->size();
    bool fit = count > 0 && urls->size() == count;
    for (const auto& values : {cycleTimes, refreshTimes, zooms, schedules, profiles, styles, scrolls, screens})
        fit = fit && values->size() <= count;
    if (!fit) {
        *error = QStringLiteral("its lists don't fit together.");
        return std::nullopt;
    }
    QList<TSiteRow> rows;
    for (int i = 0; i < count; ++i) {
        // As written: the grid marks what can't be read, and OK waits until it is mended.
        rows.append({titles->at(i), urls->at(i), cycleTimes->value(i).trimmed(), refreshTimes->value(i).trimmed(),
                     SiteZoomEntry(zooms->value(i)), schedules->value(i), profiles->value(i).trimmed(), styles->value(i).trimmed(),
                     scrolls->value(i).trimmed(), screens->value(i).trimmed()});
    }
    return rows;
}
