#pragma once

#include <QTimer>

class TfrmMain;

// Tells at the foot of the main window how downloads go: the progress while one runs, with a
// way to cancel it, then where it was saved with a way to open the folder, or that it failed.
// Closed while one runs, the line stays away until that download ends.
class TDownloadNote
{
public:
    static constexpr int ShownMs = 20000;

    explicit TDownloadNote(TfrmMain* form);

private:
    void Say(const QString& html, bool stays);

    TfrmMain* FForm;
    QTimer FHide;
    // The download the line tells of, and the one whose progress it was closed on.
    quint32 FShown = 0;
    quint32 FDismissed = 0;
};
