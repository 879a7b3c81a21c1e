#pragma once

#include <QObject>
#include <QPointer>

class QWebEnginePage;
class QWidget;
class QWindow;

// Tells the engine whether anybody can see a page, as a browser does for its tabs. A page
// collapsed behind the shown one, or in a window that is minimised, not on the screen or
// wholly covered by others, is a background page: it keeps loading and running its scripts, with timers throttled and
// no animation frames, and no frame of it is drawn.
class TPageVisibility : public QObject
{
    Q_OBJECT

public:
    TPageVisibility(QWidget* view, QWebEnginePage* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Seen() const;
    void WatchWindow();
    void Update();

    QWidget* FView;
    QWebEnginePage* FPage;
    QPointer<QWidget> FWindow;
    QPointer<QWindow> FWindowHandle;
    bool FUpdatePending = false;
};
