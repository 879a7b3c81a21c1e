#include "platform/TabControl.h"

#include "platform/HotTabStyle.h"
#include "platform/PlatformError.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr int TextPadding = 8;
constexpr int FrameWidth = 2;
// Between tiles and around them: room for the mark of the chosen one.
constexpr int TileGap = 3;

} // namespace

TTabControl::TTabControl(QWidget* parent)
    : QWidget(parent), FScrollBack(new QToolButton(this)), FScrollOn(new QToolButton(this)), FClient(new QWidget(this)), FMark(new QWidget(FClient))
{
    const std::pair<QToolButton*, Qt::ArrowType> arrows[] = {{FScrollBack, Qt::LeftArrow}, {FScrollOn, Qt::RightArrow}};
    for (const auto& [button, arrow] : arrows) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
    }
    connect(FScrollBack, &QToolButton::clicked, this, [this] { Scroll(-1); });
    connect(FScrollOn, &QToolButton::clicked, this, [this] { Scroll(+1); });
    FClient->setObjectName(QStringLiteral("ClientArea"));
    FMark->setObjectName(QStringLiteral("TileMark"));
    FMark->setAutoFillBackground(true);
    FMark->setBackgroundRole(QPalette::Highlight);
    FMark->hide();
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    THotTabStyle::Apply(this);
}

int TTabControl::AddTab(const QString& caption)
{
    FCaptions.append(caption);
    FBadges.append(QString());
    LayoutTabs();
    return FCaptions.size() - 1;
}

void TTabControl::ClearTabs()
{
    FCaptions.clear();
    FBadges.clear();
    FIndex = -1;
    FHot = -1;
    LayoutTabs();
}

int TTabControl::Count() const
{
    return FCaptions.size();
}

QString TTabControl::TabText(int index) const
{
    return FCaptions.value(index);
}

QString TTabControl::TabBadge(int index) const
{
    return FBadges.value(index);
}

void TTabControl::SetTabBadge(int index, const QString& badge)
{
    if (index < 0 || index >= FBadges.size() || FBadges.at(index) == badge)
        return;
    FBadges[index] = badge;
    LayoutTabs();
}

int TTabControl::BadgeWidth(int index) const
{
    const QString badge = FBadges.value(index);
    return badge.isEmpty() ? 0 : fontMetrics().horizontalAdvance(badge) + fontMetrics().height();
}

// A pill at the far end of the tab along its length, the caption moved aside for it.
void TTabControl::PaintBadge(QPainter& painter, const QRect& area, int index) const
{
    const int width = BadgeWidth(index);
    if (width == 0)
        return;
    const int height = fontMetrics().height();
    const QRect pill = Vertical() ? QRect(area.center().x() - width / 2, area.bottom() - height - TextPadding, width, height)
                                  : QRect(area.right() - width - TextPadding / 2, area.center().y() - height / 2, width - 2, height);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawRoundedRect(pill, height / 2.0, height / 2.0);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(pill, Qt::AlignCenter, FBadges.at(index));
    painter.restore();
}

void TTabControl::SetTabText(int index, const QString& caption)
{
    if (index < 0 || index >= FCaptions.size())
        return;
    FCaptions[index] = caption;
    LayoutTabs();
}

int TTabControl::TabIndex() const
{
    return FIndex;
}

void TTabControl::SetTabIndex(int index)
{
    FIndex = index >= 0 && index < FCaptions.size() ? index : -1;
    ScrollIntoView();
    update();
}

void TTabControl::ScrollIntoView()
{
    if (FIndex < 0 || !FScrollOn->isVisible())
        return;
    if (FIndex < FFirst) {
        FFirst = FIndex;
        LayoutTabs();
    }
    while (FFirst < FIndex && FRects.at(FIndex).right() >= FTabRoom) {
        ++FFirst;
        LayoutTabs();
    }
}

void TTabControl::Scroll(int tabs)
{
    if (tabs > 0 && (FRects.isEmpty() || FRects.last().right() < FTabRoom))
        return;
    FFirst = qBound(0, FFirst + tabs, qMax(0, FCaptions.size() - 1));
    LayoutTabs();
}

TTabControl::TStyle TTabControl::Style() const
{
    return FStyle;
}

TTabControl::TPosition TTabControl::TabPosition() const
{
    return FPosition;
}

bool TTabControl::MultiLine() const
{
    return FMultiLine;
}

void TTabControl::SetStyle(TStyle style)
{
    if (style != TStyle::Tabs && FPosition != TPosition::Top)
        throw EPlatformError(QStringLiteral("Buttons need the tabs on top."));
    FStyle = style;
    LayoutTabs();
}

void TTabControl::SetTabPosition(TPosition position)
{
    if (position != TPosition::Top && FStyle != TStyle::Tabs)
        throw EPlatformError(QStringLiteral("Tabs away from the top need the tab style."));
    FPosition = position;
    if (Vertical())
        FMultiLine = true;
    LayoutTabs();
}

bool TTabControl::Vertical() const
{
    return FPosition == TPosition::Left || FPosition == TPosition::Right;
}

int TTabControl::Thickness() const
{
    const int space = FStyle == TStyle::Tabs ? style()->pixelMetric(QStyle::PM_TabBarTabVSpace, nullptr, this)
                                             : TextPadding;
    return fontMetrics().height() + space;
}

int TTabControl::Length(const QString& caption) const
{
    const int space = FStyle == TStyle::Tabs ? style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this)
                                             : 2 * TextPadding;
    return fontMetrics().size(Qt::TextShowMnemonic, caption).width() + space;
}

void TTabControl::SetTabsVisible(bool visible)
{
    FTabsVisible = visible;
    LayoutTabs();
}

bool TTabControl::TabsVisible() const
{
    return FTabsVisible;
}

int TTabControl::LineCount() const
{
    return FLines;
}

// Places the tabs in lines along their side, wrapping when asked to, and gives the rest of
// the control to the client area.
void TTabControl::LayoutTabs()
{
    if (!FTabsVisible) {
        FRects.clear();
        FLines = 0;
        FClient->setGeometry(rect());
        RealignPages();
        update();
        return;
    }
    const int thickness = Thickness();
    const int room = Vertical() ? height() : width();
    FRects.clear();
    FLines = FCaptions.isEmpty() ? 0 : 1;
    int along = 0;
    QVector<QPair<int, int>> places;
    for (int i = 0; i < FCaptions.size(); ++i) {
        const int length = Length(FCaptions.at(i)) + BadgeWidth(i);
        if (FMultiLine && along > 0 && along + length > room) {
            ++FLines;
            along = 0;
        }
        places.append({along, length});
        along += length;
    }
    const int strip = FLines * thickness;
    const bool scrolling = !FMultiLine && !Vertical() && along > room;
    FTabRoom = scrolling ? room - 2 * thickness : room;
    FFirst = scrolling ? qBound(0, FFirst, places.size() - 1) : 0;
    const int offset = scrolling ? places.at(FFirst).first : 0;
    const int arrowsAt = FPosition == TPosition::Bottom ? height() - thickness : 0;
    FScrollBack->setGeometry(FTabRoom, arrowsAt, thickness, thickness);
    FScrollOn->setGeometry(FTabRoom + thickness, arrowsAt, thickness, thickness);
    FScrollBack->setVisible(scrolling);
    FScrollOn->setVisible(scrolling);
    int line = 0;
    int previous = -1;
    for (const auto& [place, length] : places) {
        if (place <= previous)
            ++line;
        previous = place;
        const int start = place - offset;
        const int across = line * thickness;
        switch (FPosition) {
        case TPosition::Top:
            FRects.append(QRect(start, across, length, thickness));
            break;
        case TPosition::Bottom:
            FRects.append(QRect(start, height() - strip + across, length, thickness));
            break;
        case TPosition::Left:
            FRects.append(QRect(across, start, thickness, length));
            break;
        case TPosition::Right:
            FRects.append(QRect(width() - strip + across, start, thickness, length));
            break;
        }
    }
    QRect client = rect();
    switch (FPosition) {
    case TPosition::Top:
        client.setTop(strip);
        break;
    case TPosition::Bottom:
        client.setBottom(height() - strip - 1);
        break;
    case TPosition::Left:
        client.setLeft(strip);
        break;
    case TPosition::Right:
        client.setRight(width() - strip - 1);
        break;
    }
    FClient->setGeometry(client.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth));
    RealignPages();
    update();
}

QWidget* TTabControl::ClientArea() const
{
    return FClient;
}

TTabControl* TTabControl::Holding(const QWidget* page)
{
    const QWidget* client = page->parentWidget();
    return client ? qobject_cast<TTabControl*>(client->parentWidget()) : nullptr;
}

void TTabControl::RealignPages()
{
    for (const TAligned& aligned : std::as_const(FAligned)) {
        if (aligned.Page)
            aligned.Page->setGeometry(TileRect(aligned.Tile));
    }
    const bool marked = FMarkedTile >= 0 && FTiles != QSize(1, 1);
    if (marked) {
        FMark->setGeometry(TileRect(FMarkedTile).adjusted(-TileGap, -TileGap, TileGap, TileGap));
        FMark->lower();
    }
    FMark->setVisible(marked);
}

void TTabControl::Unalign(const QWidget* page)
{
    FAligned.erase(std::remove_if(FAligned.begin(), FAligned.end(), [page](const TAligned& aligned) { return aligned.Page == page; }),
                   FAligned.end());
}

void TTabControl::AlignClient(QWidget* page, int tile)
{
    Unalign(page);
    FAligned.append({page, tile});
    page->setEnabled(true);
    RealignPages();
}

void TTabControl::Collapse(QWidget* page)
{
    Unalign(page);
    page->setGeometry(0, 0, FClient->width(), 0);
    // Out of the Tab order: Tab leaving the shown page must not vanish into one nobody sees.
    page->setEnabled(false);
}

void TTabControl::SetTiles(QSize grid)
{
    FTiles = grid.isValid() && !grid.isEmpty() ? grid : QSize(1, 1);
    RealignPages();
}

QSize TTabControl::Tiles() const
{
    return FTiles;
}

QRect TTabControl::TileRect(int tile) const
{
    if (FTiles == QSize(1, 1))
        return QRect(QPoint(0, 0), FClient->size());
    const int columns = FTiles.width();
    const int rows = FTiles.height();
    const int width = qMax(0, (FClient->width() - (columns + 1) * TileGap) / columns);
    const int height = qMax(0, (FClient->height() - (rows + 1) * TileGap) / rows);
    const int column = tile % columns;
    const int row = tile / columns % rows;
    return QRect(TileGap + column * (width + TileGap), TileGap + row * (height + TileGap), width, height);
}

void TTabControl::MarkTile(int tile)
{
    FMarkedTile = tile;
    RealignPages();
}

bool TTabControl::IsAligned(const QWidget* page) const
{
    return std::any_of(FAligned.begin(), FAligned.end(), [page](const TAligned& aligned) { return aligned.Page == page; });
}

void TTabControl::SetPopupMenu(QMenu* menu)
{
    FPopup = menu;
}

int TTabControl::IndexOfTabAt(const QPoint& point) const
{
    if (!Vertical() && point.x() >= FTabRoom)
        return -1;
    for (int i = 0; i < FRects.size(); ++i) {
        if (FRects.at(i).contains(point))
            return i;
    }
    return -1;
}

QRect TTabControl::TabRect(int index) const
{
    return FRects.value(index);
}

// The control's hint belongs to its tabs: the pages inside would otherwise show it too.
bool TTabControl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && IndexOfTabAt(static_cast<QHelpEvent*>(event)->pos()) < 0) {
        QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TTabControl::resizeEvent(QResizeEvent*)
{
    LayoutTabs();
}

void TTabControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        LayoutTabs();
    QWidget::changeEvent(event);
}

void TTabControl::Pick(int index)
{
    if (index < 0 || index >= FCaptions.size() || index == FIndex)
        return;
    SetTabIndex(index);
    Q_EMIT Change();
}

void TTabControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Pick(IndexOfTabAt(event->position().toPoint()));
}

// With the focus, the arrow keys pick the tab before or after, and Shift+F10 opens the menu
// of the selected tab, as the menu key does.
void TTabControl::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        Pick(FIndex - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        Pick(FIndex + 1);
        break;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, TabRect(FIndex).center(),
                                   mapToGlobal(TabRect(FIndex).center()));
            contextMenuEvent(&menu);
            break;
        }
        QWidget::keyPressEvent(event);
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void TTabControl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const int hot = IndexOfTabAt(point);
    if (hot != FHot) {
        FHot = hot;
        update();
    }
    Q_EMIT MouseMove(event->modifiers(), point.x(), point.y());
}

void TTabControl::leaveEvent(QEvent*)
{
    FHot = -1;
    update();
}

void TTabControl::contextMenuEvent(QContextMenuEvent* event)
{
    if (!FPopup)
        return;
    if (event->reason() == QContextMenuEvent::Mouse) {
        Q_EMIT MenuRequested(IndexOfTabAt(event->pos()));
        FPopup->popup(event->globalPos());
    } else {
        Q_EMIT MenuRequested(FIndex);
        FPopup->popup(mapToGlobal(TabRect(FIndex).bottomLeft()));
    }
}

void TTabControl::PaintTab(QPainter& painter, int index) const
{
    const QRect area = FRects.at(index);
    const bool selected = index == FIndex;
    const bool hot = index == FHot;
    if (FStyle == TStyle::Tabs) {
        // Styles turn a tab that is not on top about the origin (Fusion does): each tab is
        // drawn at the origin and moved into its place.
        QStyleOptionTab option;
        option.initFrom(this);
        option.rect = QRect(QPoint(0, 0), area.size());
        option.text = FCaptions.at(index);
        const QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth, QTabBar::RoundedWest,
                                         QTabBar::RoundedEast};
        option.shape = shapes[static_cast<int>(FPosition)];
        option.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        if (selected)
            option.state |= QStyle::State_Selected;
        if (selected && hasFocus())
            option.state |= QStyle::State_HasFocus;
        if (hot)
            option.state |= QStyle::State_MouseOver;
        if (const int badge = BadgeWidth(index))
            option.rightButtonSize = QSize(badge, fontMetrics().height());
        painter.save();
        painter.translate(area.topLeft());
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
        painter.restore();
        PaintBadge(painter, area, index);
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = area.adjusted(1, 1, -1, -1);
    option.text = FCaptions.at(index);
    option.state &= ~QStyle::State_MouseOver;
    option.state |= selected ? (QStyle::State_Sunken | QStyle::State_On) : QStyle::State_Raised;
    if (selected && hasFocus())
        option.state |= QStyle::State_HasFocus;
    if (hot)
        option.state |= QStyle::State_MouseOver;
    const int badge = BadgeWidth(index);
    if (FStyle == TStyle::Buttons) {
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        QStyleOptionButton label = option;
        label.rect = Vertical() ? label.rect.adjusted(0, 0, 0, -badge) : label.rect.adjusted(0, 0, -badge, 0);
        style()->drawControl(QStyle::CE_PushButtonLabel, &label, &painter, this);
        PaintBadge(painter, area, index);
        return;
    }
    // Flat buttons show a frame only when pressed or under the pointer.
    if (selected || hot) {
        QStyleOption panel = option;
        panel.state |= QStyle::State_AutoRaise;
        style()->drawPrimitive(QStyle::PE_PanelButtonTool, &panel, &painter, this);
    }
    const QRect text = Vertical() ? option.rect.adjusted(0, 0, 0, -badge) : option.rect.adjusted(0, 0, -badge, 0);
    style()->drawItemText(&painter, text, Qt::AlignCenter, palette(), isEnabled(), option.text);
    PaintBadge(painter, area, index);
}

void TTabControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (FStyle == TStyle::Tabs && FTabsVisible) {
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.rect = FClient->geometry().adjusted(-FrameWidth, -FrameWidth, FrameWidth, FrameWidth);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
    }
    // Tabs scrolled under the arrow buttons are cut off at them.
    painter.setClipRect(Vertical() ? rect() : QRect(0, 0, FTabRoom, height()));
    for (int i = 0; i < FRects.size(); ++i)
        PaintTab(painter, i);
}
