#pragma once

#include <QObject>
#include <climits>

class QKeyEvent;
class QWidget;

// The user's own input in one window: how long it has rested (cycling waits while someone
// works in the window) and typing into a form field (a page's automatic refresh waits).
class TInputWatch : public QObject
{
    Q_OBJECT

public:
    explicit TInputWatch(QWidget* window);

    // One second has passed.
    void Tick();
    // Someone used the window during the last `pause` seconds; never with a pause of 0.
    bool InUse(int pause) const;

    // Seconds since the last pointer movement, click, wheel turn or key in the window.
    int IdleTicks = INT_MAX;

Q_SIGNALS:
    void Typed(QWidget* receiver);
    // Any pointer movement, click, wheel turn or key in the window.
    void Used();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* FWindow;
};
