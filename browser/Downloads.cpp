#include "browser/Downloads.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

TDownloads* TDownloads::Instance()
{
    static QPointer<TDownloads> instance;
    if (!instance)
        instance = new TDownloads(QCoreApplication::instance());
    return instance;
}

void TDownloads::Attach(QWebEngineProfile* profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this, &TDownloads::Start);
}

QString TDownloads::Folder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QString TDownloads::SafeName(const QString& suggested, const QString& folder)
{
    QString name = suggested;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.section(QLatin1Char('/'), -1);
    name.erase(std::remove_if(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }),
               name.end());
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front().isSpace()))
        name.remove(0, 1);
    name = name.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("download");
    const QFileInfo info(name);
    const QString suffix = info.completeSuffix().isEmpty() ? QString() : QLatin1Char('.') + info.completeSuffix();
    const QString base = name.left(name.size() - suffix.size());
    QString candidate = name;
    for (int n = 1; QFileInfo::exists(QDir(folder).filePath(candidate)); ++n)
        candidate = base + QStringLiteral(" (%1)").arg(n) + suffix;
    return candidate;
}

void TDownloads::Start(QWebEngineDownloadRequest* download)
{
    if (download->isSavePageDownload()) {
        download->cancel();
        return;
    }
    const QString folder = Folder();
    QDir().mkpath(folder);
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(SafeName(download->downloadFileName(), folder));
    const QString path = QDir(folder).filePath(download->downloadFileName());
    const quint32 id = download->id();
    FRunning.insert(id, download);
    FRunningPaths.insert(id, path);
    NoteRunning();
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, download, id] {
        if (download->state() == QWebEngineDownloadRequest::DownloadInProgress)
            Q_EMIT Progress(id, download->downloadFileName(), download->receivedBytes(), download->totalBytes());
    });
    // A broken download is tried again by the engine a few times; when it gives up, it ends
    // interrupted.
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, download, path, id](QWebEngineDownloadRequest::DownloadState state) {
                if (state == QWebEngineDownloadRequest::DownloadCompleted) {
                    FRunning.remove(id);
                    FRunningPaths.remove(id);
                    NoteRunning();
                    Q_EMIT Finished(id, path, TEnd::Saved, QString());
                } else if (state == QWebEngineDownloadRequest::DownloadInterrupted
                           || state == QWebEngineDownloadRequest::DownloadCancelled) {
                    FRunning.remove(id);
                    FRunningPaths.remove(id);
                    NoteRunning();
                    // Nothing half written stays behind.
                    QFile::remove(path);
                    QFile::remove(PartOf(path));
                    const bool cancelled = state == QWebEngineDownloadRequest::DownloadCancelled;
                    Q_EMIT Finished(id, path, cancelled ? TEnd::Cancelled : TEnd::Failed,
                                    cancelled ? QString() : download->interruptReasonString());
                }
            });
    download->accept();
}

void TDownloads::Cancel(quint32 id)
{
    if (QWebEngineDownloadRequest* download = FRunning.value(id))
        download->cancel();
}

QString TDownloads::PartOf(const QString& path)
{
    return path + QStringLiteral(".download");
}

QString TDownloads::RunningList()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/running-downloads");
}

void TDownloads::NoteRunning()
{
    QDir().mkpath(QFileInfo(RunningList()).path());
    QSaveFile file(RunningList());
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (const QString& path : std::as_const(FRunningPaths))
        file.write(path.toUtf8() + '\n');
    file.commit();
}

// Only what this program noted is removed: a part of another browser's download is not ours.
void TDownloads::RemoveCutOff()
{
    QFile list(RunningList());
    if (!list.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> paths = list.readAll().split('\n');
    list.close();
    list.remove();
    for (const QByteArray& line : paths) {
        const QString path = QString::fromUtf8(line);
        if (!path.isEmpty() && QFile::remove(PartOf(path)))
            Q_EMIT Finished(0, path, TEnd::CutOff, QString());
    }
}
