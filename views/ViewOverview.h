#pragma once

#include <QList>
#include <QWidget>

class QGridLayout;
class QLabel;
class QToolButton;

// Every site at once, as a picture with its title and state, over the whole main window; a
// click or Enter on one picks it, Escape closes. Passive: the controller fills and binds it.
class TfrmOverview : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmOverview(QWidget* window);

    // One cell a site, in order, the focus on `current`.
    void SetSites(int count, int current);
    void SetCaption(int site, QString caption);
    void SetPicture(int site, const QPixmap& picture);
    // The size a picture is shown at.
    QSize PictureSize() const;

    QList<QToolButton*> Cells;

Q_SIGNALS:
    void Picked(int site);
    void CloseRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Columns() const;
    void MoveFocus(int by);
    // Escape, Enter and the arrows; false for any other key.
    bool TakeKey(const QKeyEvent* event);

    QLabel* FHeading;
    QGridLayout* FGrid;
};
