#include "ControllerFixture.h"

#include "shared/KestViewAbout.h"
#include "shared/KestViewEasterEggs.h"
#include "views/ViewSetup.h"

#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLineEdit>
#include <QScreen>
#include <QSet>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>

namespace {

QString Name(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

// Texts wider or taller than their control, controls covering a sibling, pages that scroll.
QStringList Faults(QWidget* window)
{
    QStringList faults;
    const auto shown = [window](const QWidget* widget) { return widget->isVisibleTo(window); };
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!shown(widget))
            continue;
        QSize need;
        QSize room = widget->size();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && !label->text().isEmpty()) {
            need = label->fontMetrics().size(Qt::TextShowMnemonic, label->text());
            room = label->contentsRect().size();
        } else if (auto* push = qobject_cast<QPushButton*>(widget); push && !push->text().isEmpty()) {
            need = push->fontMetrics().size(Qt::TextShowMnemonic, push->text())
                   + QSize(2 * push->style()->pixelMetric(QStyle::PM_ButtonMargin), 0);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
            need = button->sizeHint();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            need = QSize(group->fontMetrics().horizontalAdvance(group->title()), 0);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
            if (text->verticalScrollBar()->maximum() > 0 || text->horizontalScrollBar()->maximum() > 0)
                faults.append(Name(widget) + " scrolls");
        }
        if (need.width() > room.width() || need.height() > room.height())
            faults.append(QStringLiteral("%1 needs %2x%3, has %4x%5")
                              .arg(Name(widget)).arg(need.width()).arg(need.height()).arg(room.width()).arg(room.height()));
        const auto control = [](const QWidget* each) {
            return qobject_cast<const QAbstractButton*>(each) || qobject_cast<const QLabel*>(each)
                   || qobject_cast<const QAbstractSpinBox*>(each) || qobject_cast<const QGroupBox*>(each);
        };
        const bool leaf = control(widget);
        if (!leaf || !widget->parentWidget())
            continue;
        for (QWidget* sibling : widget->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool other = sibling != widget && shown(sibling) && control(sibling);
            if (other && sibling->geometry().intersects(widget->geometry()) && Name(widget) < Name(sibling))
                faults.append(Name(widget) + " covers " + Name(sibling));
        }
    }
    return faults;
}

// The controls of a window that Tab never reaches from its focus, or reaches out of sight.
QStringList Unreachable(QWidget* window)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return {QStringLiteral("the window never became active")};
    QSet<QWidget*> reached;
    for (int press = 0; press < 200 && QApplication::focusWidget(); ++press) {
        QWidget* focus = QApplication::focusWidget();
        reached.insert(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QStringList faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control = widget->isVisibleTo(window) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
                             && !widget->focusProxy() && qobject_cast<QAbstractScrollArea*>(widget->parentWidget()) == nullptr;
        const bool inPage = widget->parentWidget() && widget->parentWidget()->inherits("TWebBrowser");
        if (control && !inPage && !reached.contains(widget))
            faults.append(Name(widget) + " is never reached");
    }
    for (QWidget* widget : std::as_const(reached)) {
        if (widget->window() == window && !window->rect().intersects(QRect(widget->mapTo(window, QPoint()), widget->size())))
            faults.append(Name(widget) + " is out of sight");
    }
    return faults;
}

} // namespace

// Every window at the desktop's font and at any QT_SCALE_FACTOR: no text cut or covered, and
// the main window within its screen.
class TestLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { RemoveConfig(); }

    void mainWindow_data()
    {
        QTest::addColumn<int>("held");
        QTest::newRow("no key held") << int(Qt::NoModifier);
        QTest::newRow("Ctrl held") << int(Qt::ControlModifier);
        QTest::newRow("Alt held") << int(Qt::AltModifier);
    }
    void mainWindow()
    {
        QFETCH(int, held);
        StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"});
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        main->UpdateButtonCaptions(Qt::KeyboardModifiers(held));
        QCOMPARE(Faults(main.Form()).join("; "), QString());
        const QRect free = main.Form()->screen()->availableGeometry();
        QVERIFY(free.contains(main.Form()->frameGeometry().topLeft()));
        QVERIFY(main.Form()->width() <= free.width() && main.Form()->height() <= free.height());
        // Buttons fold away before the address field becomes a stub; the menu always stays.
        QVERIFY(main.Form()->edtAddress->width() >= main.Form()->fontMetrics().averageCharWidth() * 20);
        QVERIFY(main.Form()->tbMenu->isVisible() && main.Form()->tbRefresh->isVisible());
        QVERIFY(!main.Form()->ToolBar->geometry().intersects(main.Form()->pnlUrlInButtonBar->geometry()));
    }

    // Ten sites in 2x2 tiles: every control of the main window and of the setup dialog's pages is
    // reached by Tab, in sight.
    void everyControlByTab()
    {
        QStringList titles, urls;
        for (int i = 1; i <= 10; ++i) {
            titles << QStringLiteral("Site%1").arg(i);
            urls << QStringLiteral("http://site%1/").arg(i);
        }
        StoreSites(titles, urls, {{"Tiles", "2x2"}});
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        QCOMPARE(Unreachable(main.Form()).join("; "), QString());
        RunSetup(main, main.Form()->SetupSitesMenuItem, [](TfrmSetup* dialog) {
            for (int page = 0; page < dialog->PageControl1->count(); ++page) {
                dialog->PageControl1->setCurrentIndex(page);
                dialog->PageControl1->setFocus();
                QCOMPARE(Unreachable(dialog).join("; "), QString());
            }
        });
    }

    void setupDialog()
    {
        TfrmSetup dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Within its screen, OK and Cancel in reach, at any scale.
        const QRect free = dialog.screen()->availableGeometry();
        QVERIFY(dialog.width() <= free.width() && dialog.height() <= free.height());
        for (QWidget* button : {dialog.btnOk, dialog.btnCancel})
            QVERIFY(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint()), button->size())));
        for (int page = 0; page < dialog.PageControl1->count(); ++page) {
            dialog.PageControl1->setCurrentIndex(page);
            QCOMPARE(Faults(&dialog).join("; "), QString());
        }
        dialog.SetSitesLocked(true);
        dialog.SetDisplayLocked(true);
        for (int page = 0; page < dialog.PageControl1->count(); ++page) {
            dialog.PageControl1->setCurrentIndex(page);
            QCOMPARE(Faults(&dialog).join("; "), QString());
        }
    }

    void aboutBox_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("about") << "";
        QTest::newRow("author") << "author";
        QTest::newRow("addresses") << "addresses";
        QTest::newRow("update") << "update";
    }
    void aboutBox()
    {
        QFETCH(QString, word);
        TfrmAbout about;
        about.FillFrom("Orvanta", 0x00010000, 250, false);
        about.SetBuiltOn(WebEngineVersion(), WebEngineSecurityLevel());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        for (QChar key : word)
            about.FormKeyPress(key);
        QCoreApplication::processEvents();
        QCOMPARE(Faults(&about).join("; "), QString());
    }
};

ORVANTA_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
