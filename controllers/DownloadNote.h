#pragma once

#include <QTimer>

class TfrmMain;

// Tells at the foot of the main window how downloads go: the progress while one runs, then
// where it was saved with a way to open the folder, or that it failed.
class TDownloadNote
{
public:
    static constexpr int ShownMs = 20000;

    explicit TDownloadNote(TfrmMain* form);

private:
    void Say(const QString& html, bool stays);

    TfrmMain* FForm;
    QTimer FHide;
};
