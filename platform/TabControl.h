#pragma once

#include <QPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QMenu;
class QToolButton;

// A page selector: a strip of tabs or buttons on one side and a client area beside it that
// holds the pages. The page aligned to the client fills it; every other page is collapsed to
// height 0, stays visible to the engine and keeps working, but takes no input.
class TTabControl : public QWidget
{
    Q_OBJECT

public:
    enum class TStyle { Tabs, Buttons, FlatButtons };
    enum class TPosition { Top, Bottom, Left, Right };

    explicit TTabControl(QWidget* parent = nullptr);

    int AddTab(const QString& caption);
    void ClearTabs();
    int Count() const;
    QString TabText(int index) const;
    void SetTabText(int index, const QString& caption);
    // A short mark drawn beside a tab's caption, such as a count of unread messages; empty: none.
    QString TabBadge(int index) const;
    void SetTabBadge(int index, const QString& badge);

    // -1 when no tab is selected. Selecting from the program raises no Change.
    int TabIndex() const;
    void SetTabIndex(int index);

    TStyle Style() const;
    TPosition TabPosition() const;
    bool MultiLine() const;
    // Buttons need the tabs on top, and a position other than top needs the tab style:
    // a change that breaks either rule fails.
    void SetStyle(TStyle style);
    // Tabs on the left or right wrap into further columns; the wrapping then stays on.
    void SetTabPosition(TPosition position);

    int IndexOfTabAt(const QPoint& point) const;
    QRect TabRect(int index) const;
    int LineCount() const;

    // Without its tabs the client area fills the whole control, with no frame.
    void SetTabsVisible(bool visible);
    bool TabsVisible() const;

    QWidget* ClientArea() const;
    // The selector whose client area holds a page; null for none.
    static TTabControl* Holding(const QWidget* page);
    // Puts a page in a tile of the client area (with one tile, the whole of it).
    void AlignClient(QWidget* page, int tile = 0);
    void Collapse(QWidget* page);
    bool IsAligned(const QWidget* page) const;
    // The client area as columns and rows of tiles, with a gap between them; 1x1: one page fills it.
    void SetTiles(QSize grid);
    QSize Tiles() const;
    QRect TileRect(int tile) const;
    // A frame of the highlight colour around one tile; -1: none.
    void MarkTile(int tile);

    void SetPopupMenu(QMenu* menu);

Q_SIGNALS:
    // The user picked another tab.
    void Change();
    // The tab menu is about to open for the tab at index (under the pointer, or the selected
    // one when asked from the keyboard).
    void MenuRequested(int index);
    void MouseMove(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Vertical() const;
    int Thickness() const;
    int Length(const QString& caption) const;
    int BadgeWidth(int index) const;
    void PaintBadge(class QPainter& painter, const QRect& area, int index) const;
    void LayoutTabs();
    void RealignPages();
    void Unalign(const QWidget* page);
    void PaintTab(class QPainter& painter, int index) const;
    void Pick(int index);
    void ScrollIntoView();
    void Scroll(int tabs);

    QStringList FCaptions;
    QStringList FBadges;
    QVector<QRect> FRects;
    int FLines = 0;
    int FIndex = -1;
    int FHot = -1;
    TStyle FStyle = TStyle::Tabs;
    TPosition FPosition = TPosition::Top;
    bool FMultiLine = false;
    bool FTabsVisible = true;
    // One row of tabs longer than the control scrolls: the first tab shown, and the room the
    // tabs have before the two arrow buttons at its end.
    int FFirst = 0;
    int FTabRoom = 0;
    QToolButton* FScrollBack;
    QToolButton* FScrollOn;
    QWidget* FClient;
    struct TAligned {
        QPointer<QWidget> Page;
        int Tile;
    };
    QList<TAligned> FAligned;
    QSize FTiles{1, 1};
    int FMarkedTile = -1;
    QWidget* FMark;
    QPointer<QMenu> FPopup;
};
