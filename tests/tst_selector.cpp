#include "TestSupport.h"

#include "controllers/webapps/UnreadCounts.h"
#include "platform/TabControl.h"
#include "views/ViewSetup.h"

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

using TPosition = TTabControl::TPosition;

// Whether the sides of a tab, where one tab meets the next, are drawn on the strip's
// background: bare captions leave them empty.
bool SidesDrawn(const QImage& image, const QRect& tab, bool vertical, QRgb background)
{
    const int length = vertical ? tab.width() : tab.height();
    for (int along = length / 3; along < 2 * length / 3; ++along) {
        for (int across : {0, 1, 2}) {
            const QPoint first = vertical ? QPoint(tab.left() + along, tab.top() + across)
                                          : QPoint(tab.left() + across, tab.top() + along);
            const QPoint second = vertical ? QPoint(tab.left() + along, tab.bottom() - across)
                                           : QPoint(tab.right() - across, tab.top() + along);
            if (image.pixel(first) != background || image.pixel(second) != background)
                return true;
        }
    }
    return false;
}

} // namespace

class TestSelector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A count at the start of a title, as mail and chat apps write it.
    void unreadCounts_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("count");
        QTest::newRow("a count") << "(3) Inbox" << "3";
        QTest::newRow("many") << "(99+) Chat" << "99+";
        QTest::newRow("none") << "Inbox" << "";
        QTest::newRow("zero") << "(0) Inbox" << "";
        QTest::newRow("not at the start") << "Inbox (3)" << "";
        QTest::newRow("not a number") << "(beta) Inbox" << "";
        QTest::newRow("the count alone") << "(3)" << "";
    }
    void unreadCounts()
    {
        QFETCH(QString, title);
        QTEST(TUnreadCounts::CountOf(title), "count");
    }

    // The count is drawn beside the caption, which stays as it is; the tab makes room for it.
    void aBadgeMakesRoomBesideTheCaption()
    {
        for (int style = 0; style < 3; ++style) {
            TTabControl tabs;
            tabs.resize(600, 300);
            tabs.SetStyle(TTabControl::TStyle(style));
            tabs.AddTab("Inbox");
            tabs.AddTab("Other");
            const int plain = tabs.TabRect(0).width();
            tabs.SetTabBadge(0, "12");
            QVERIFY(tabs.TabRect(0).width() > plain);
            QCOMPARE(tabs.TabText(0), QStringLiteral("Inbox"));
            QCOMPARE(tabs.TabBadge(0), QStringLiteral("12"));
            tabs.SetTabBadge(0, QString());
            QCOMPARE(tabs.TabRect(0).width(), plain);
        }
    }

    // Tabs are drawn, with the selected one set apart, in every position and in the styles a
    // Linux desktop has.
    void tabsDrawnInEveryPosition_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<TPosition>("position");
        for (const char* style : {"Fusion", "Windows"}) {
            const std::pair<const char*, TPosition> positions[] = {
                {"top", TPosition::Top}, {"bottom", TPosition::Bottom}, {"left", TPosition::Left}, {"right", TPosition::Right}};
            for (const auto& [name, position] : positions)
                QTest::addRow("%s, %s", style, name) << QString(style) << position;
        }
    }
    void tabsDrawnInEveryPosition()
    {
        QFETCH(QString, style);
        QFETCH(TPosition, position);
        const QString before = QApplication::style()->name();
        QApplication::setStyle(QStyleFactory::create(style));
        {
            TTabControl selector;
            selector.resize(400, 300);
            for (int i = 0; i < 3; ++i)
                selector.AddTab("Site");
            selector.SetTabPosition(position);
            selector.SetTabIndex(1);
            const QImage image = selector.grab().toImage();
            const bool vertical = position == TPosition::Left || position == TPosition::Right;
            const QRect last = selector.TabRect(2);
            const QRgb background = image.pixel(vertical ? QPoint(last.center().x(), 298) : QPoint(398, last.center().y()));
            QVERIFY(SidesDrawn(image, selector.TabRect(1), vertical, background));
            QVERIFY(SidesDrawn(image, selector.TabRect(2), vertical, background));
            const QRect selected = selector.TabRect(1), other = selector.TabRect(2);
            QCOMPARE(selected.size(), other.size());
            QVERIFY(image.copy(selected) != image.copy(other));
        }
        QApplication::setStyle(QStyleFactory::create(before));
    }

    // One row with more tabs than fit scrolls: arrows at its end reach every tab, and the
    // selected tab is brought into view.
    void oneRowScrolls_data()
    {
        QTest::addColumn<TTabControl::TStyle>("style");
        QTest::addColumn<TPosition>("position");
        QTest::newRow("tabs top") << TTabControl::TStyle::Tabs << TPosition::Top;
        QTest::newRow("tabs bottom") << TTabControl::TStyle::Tabs << TPosition::Bottom;
        QTest::newRow("buttons") << TTabControl::TStyle::Buttons << TPosition::Top;
        QTest::newRow("flat buttons") << TTabControl::TStyle::FlatButtons << TPosition::Top;
    }
    void oneRowScrolls()
    {
        QFETCH(TTabControl::TStyle, style);
        QFETCH(TPosition, position);
        TTabControl selector;
        selector.resize(500, 300);
        selector.SetTabPosition(position);
        selector.SetStyle(style);
        for (int i = 0; i < 25; ++i)
            selector.AddTab(QStringLiteral("Site %1").arg(i));
        selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        const auto reachable = [&selector](int index) {
            return selector.IndexOfTabAt(selector.TabRect(index).center()) == index;
        };
        QVERIFY(reachable(0));
        QVERIFY(!reachable(24));
        selector.SetTabIndex(24);
        QVERIFY(reachable(24));
        QVERIFY(selector.TabRect(24).right() < selector.width());
        QList<QToolButton*> arrows = selector.findChildren<QToolButton*>();
        QCOMPARE(arrows.size(), 2);
        for (QToolButton* arrow : arrows)
            QVERIFY(arrow->isVisible() && selector.rect().contains(arrow->geometry()));
        QToolButton* back = arrows.at(0)->arrowType() == Qt::LeftArrow ? arrows.at(0) : arrows.at(1);
        for (int click = 0; click < 30; ++click)
            QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(reachable(0));
        selector.SetTabIndex(12);
        QVERIFY(reachable(12));
    }

    // The tab under the pointer is marked, in the page selector and in the setup dialog.
    void tabUnderThePointerIsMarked_data()
    {
        QTest::addColumn<bool>("setupDialog");
        QTest::newRow("page selector") << false;
        QTest::newRow("setup dialog") << true;
    }
    void tabUnderThePointerIsMarked()
    {
        QFETCH(bool, setupDialog);
        TfrmSetup dialog;
        TTabControl selector;
        QWidget* tabs = setupDialog ? static_cast<QWidget*>(dialog.PageControl1->tabBar()) : &selector;
        const auto tabRect = [&](int index) {
            return setupDialog ? dialog.PageControl1->tabBar()->tabRect(index) : selector.TabRect(index);
        };
        selector.resize(400, 300);
        for (int i = 0; i < 3; ++i)
            selector.AddTab("Site");
        selector.SetTabIndex(0);
        QWidget* window = tabs->window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QImage before = tabs->grab(tabRect(1)).toImage();
        QTest::mouseMove(tabs, tabRect(1).center());
        QTRY_VERIFY(tabs->grab(tabRect(1)).toImage() != before);
    }
};

ORVANTA_TEST_MAIN(TestSelector)
#include "tst_selector.moc"
