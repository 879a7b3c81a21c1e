#pragma once

#include "controllers/wall/Stage.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class QScreen;
class TfrmScreen;

// The windows of the screens sites are given to: one for each screen present that a site names,
// made when the screen comes and closed when it goes, so that its sites go back to the main
// window and return with it, with no restart.
class TScreenWindows : public QObject
{
    Q_OBJECT

public:
    TScreenWindows();
    ~TScreenWindows() override;

    // Each site's screen as stored; the windows follow at once.
    void SetEntries(const QStringList& entries);
    // The stage of the window a site is shown in; null: the main window's.
    TStage* StageOf(int site);
    std::vector<TStage*> Stages();
    // Dark: every window black, its pages hidden from the engine, which pauses them.
    void SetDark(bool dark);
    // The screen an entry names: its name (any case) or its number from 1; null: none present.
    static QScreen* ScreenOf(const QString& entry);

Q_SIGNALS:
    // Windows came or are going: every site is to be put where StageOf says. Pages still in a
    // going window must leave it now; it is freed after this.
    void Changed();

private:
    struct TWindow {
        QScreen* Screen;
        std::unique_ptr<TfrmScreen> Form;
        TStage Stage;
    };
    void Update(bool entriesChanged);
    TWindow* WindowOf(const QScreen* screen);

    QStringList FEntries;
    bool FDark = false;
    std::vector<std::unique_ptr<TWindow>> FWindows;
};
