#pragma once

#include <QList>
#include <QString>
#include <optional>

class TfrmSetup;
struct TSiteRow;

// The site list with every per-site value in a file of its own, in the settings file's text
// form ([Sites] alone), to take from one machine to the next.
class TSiteListFile
{
public:
    // The setup dialog's Export… and Import…: the grid's rows to a file the user names, or a
    // file's rows into the grid in place of its own. A failure is told and changes nothing.
    static void Export(TfrmSetup& dialog);
    static void Import(TfrmSetup& dialog);

    // Writes the rows; false when the file can't be written.
    static bool Write(const QString& fileName, const QList<TSiteRow>& rows);
    // The rows a file holds; nothing, with the reason in `error`, when it can't be read or its
    // lists don't fit together.
    static std::optional<QList<TSiteRow>> Read(const QString& fileName, QString* error);
};
