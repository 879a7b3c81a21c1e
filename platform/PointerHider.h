#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

// Hides the pointer over a window once it has rested for a while, and shows it again as soon
// as it moves, as a video player does in full screen.
class TPointerHider : public QObject
{
    Q_OBJECT

public:
    static constexpr int RestMs = 3000;

    explicit TPointerHider(QWidget* window);
    ~TPointerHider() override;

    void SetActive(bool active);
    bool Active() const;
    bool Hidden() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Hide();
    void Show();

    QWidget* FWindow;
    QTimer FRest;
    bool FActive = false;
    bool FHidden = false;
};
