#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>

class QWindow;

// Whether the window system reports a window wholly covered by other windows. On X11 the
// window asks for visibility notices, which the server gives where no compositing manager
// redirects windows; elsewhere a window is never known to be covered.
class TWindowOcclusion : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    static TWindowOcclusion* Instance();

    void Watch(QWindow* window);
    bool Covered(QWindow* window) const;

    // Takes the window system's events (an X11 visibility notice, say).
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void CoveredChanged(QWindow* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TWindowOcclusion(QObject* parent);
    void AskForNotices(QWindow* window);
    void SetCovered(QWindow* window, bool covered);

    QHash<QWindow*, bool> FCovered;
};
