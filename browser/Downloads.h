#pragma once

#include <QObject>
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
    // The one that serves every profile.
    static TDownloads* Instance();

    void Attach(QWebEngineProfile* profile);

    // A server's file name as it may be saved in `folder`: no folders, no leading dots, no
    // control characters, and a name taken already gets " (1)", " (2)" … before its extension.
    static QString SafeName(const QString& suggested, const QString& folder);
    // Where downloads go: the user's download folder (XDG's user-dirs on Linux).
    static QString Folder();

Q_SIGNALS:
    void Progress(const QString& fileName, qint64 received, qint64 total);
    // `path` is where the file is; on failure it was removed and `reason` says why.
    void Finished(const QString& path, bool saved, const QString& reason);

private:
    using QObject::QObject;
    void Start(QWebEngineDownloadRequest* download);
};
