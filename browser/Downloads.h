#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Every download of every page: saved without a question into the user's download folder,
// under the name the server gives, made safe; never opened. Progress and the end are told
// through the signals.
class TDownloads : public QObject
{
    Q_OBJECT

public:
    // Cut off: the program ended (was killed) while it ran, and its part was found at the next start.
    enum class TEnd { Saved, Cancelled, Failed, CutOff };

    // The one that serves every profile.
    static TDownloads* Instance();

    void Attach(QWebEngineProfile* profile);

    // A server's file name as it may be saved in `folder`: no folders, no leading dots, no
    // control characters, and a name taken already gets " (1)", " (2)" … before its extension.
    static QString SafeName(const QString& suggested, const QString& folder);
    // Where downloads go: the user's download folder (XDG's user-dirs on Linux).
    static QString Folder();

    // Stops a running download; what it had written is removed, and it ends as cancelled.
    void Cancel(quint32 id);
    // The parts of downloads that ran when the program last ended are removed, each told as cut off.
    void RemoveCutOff();

Q_SIGNALS:
    void Progress(quint32 id, const QString& fileName, qint64 received, qint64 total);
    // `path` is where the file is; cancelled or failed it was removed, and `reason` says why it failed.
    void Finished(quint32 id, const QString& path, TDownloads::TEnd end, const QString& reason);

private:
    using QObject::QObject;
    void Start(QWebEngineDownloadRequest* download);

    // The engine's part of a download, beside the file it becomes.
    static QString PartOf(const QString& path);
    // Where the running downloads are noted, so that a killed program's parts are found again.
    static QString RunningList();
    void NoteRunning();

    QHash<quint32, QPointer<QWebEngineDownloadRequest>> FRunning;
    QHash<quint32, QString> FRunningPaths;
};
