#pragma once

#include <QObject>
#include <optional>

// The display's power as a wall screen holds it. Kept awake: on X11 the server's screen saver
// and DPMS are held off, and the desktop's screen saver (org.freedesktop.ScreenSaver on the
// session bus, as on GNOME under Wayland too) is inhibited. Powered down: DPMS off, where the X
// server has it. All that was held is given back when the object goes.
class TDisplayPower : public QObject
{
    Q_OBJECT

public:
    explicit TDisplayPower(QObject* parent = nullptr);
    ~TDisplayPower() override;

    void KeepAwake(bool keep);
    // Powers the display down, or up again; false where this system can't (Xvfb has no DPMS, a
    // Wayland compositor gives no way).
    bool PowerDown(bool down);

private:
    void Inhibit(bool inhibit);

    bool FAwake = false;
    // The X server's screen saver and DPMS as they were before they were held off.
    struct TSaved
    {
        int Timeout = 0;
        int Interval = 0;
        int PreferBlanking = 0;
        int AllowExposures = 0;
        bool DpmsEnabled = false;
    };
    std::optional<TSaved> FSaved;
    bool FPoweredDown = false;
    // The session bus's inhibition: asked for, and its cookie once it came.
    bool FInhibitAsked = false;
    std::optional<uint> FCookie;
};
