#pragma once

#include "controllers/Schedule.h"
#include "platform/DisplayPower.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QTimer>
#include <functional>
#include <optional>

class TfrmMain;

// The screen's power on a wall: on within the screen's schedule (always, with none), off outside
// it, and either way as a key, a touch, a pointer move or a remote command switches it, until
// the schedule's next edge. On, in full screen or with a schedule (a wall, not a desktop whose
// screen must still lock), the display is kept from blanking. Off, the display is powered down
// where the system can; the window goes black and its pages are hidden from the engine, which
// pauses them.
class TScreenPower : public QObject
{
    Q_OBJECT

public:
    // The clock is the local time the schedule goes by.
    // `keyTarget` takes the keys on waking where nothing had them when the screen went off.
    TScreenPower(TfrmMain* form, std::function<QDateTime()> clock, std::function<QWidget*()> keyTarget);

    // A schedule entry, as stored; one that can't be read is always open.
    void SetSchedule(const QString& entry);
    // The window is in full screen, or no longer.
    void SetFullScreen(bool fullScreen);
    // Looks at the clock: at an edge of the schedule the screen goes as the schedule says.
    void Tick();

    bool IsOn() const { return FOn; }
    void Set(bool on);

Q_SIGNALS:
    // The screen went on or off: windows of other screens follow.
    void Switched(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();
    void HoldAwake();

    TfrmMain* FForm;
    std::function<QDateTime()> FClock;
    std::function<QWidget*()> FKeyTarget;
    TSchedule FSchedule;
    bool FScheduled = false;
    bool FFullScreen = false;
    // Whether the schedule was open at the last look; none before the first.
    std::optional<bool> FOpen;
    bool FOn = true;
    QWidget* FCover = nullptr;
    // Where the focus was when the screen went off.
    QPointer<QWidget> FFocus;
    QTimer FTicker;
    TDisplayPower FDisplay;
};
