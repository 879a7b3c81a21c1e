#include "TestSupport.h"

#include "platform/VersionRecord.h"
#include "shared/KestException.h"
#include "shared/KestViewAbout.h"
#include "shared/KestViewEasterEggs.h"
#include "shared/LibHyperlink.h"
#include "views/ViewMain.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <functional>

namespace {

void MoveOver(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

bool Highlighted(const QLabel* label)
{
    return label->font().underline() && label->palette().color(QPalette::WindowText) == QColor(0, 0, 255);
}

bool Normal(const QLabel* label)
{
    return !label->font().underline() && label->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
}

// Runs the About box; `answer` acts on it once it is open and must close it.
void RunAboutBox(const std::function<void(TfrmAbout*)>& answer, const std::function<void()>& open = [] { ShowAboutBox(false); })
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* about = qobject_cast<TfrmAbout*>(window);
            if (about && about->isVisible() && !answered) {
                answered = true;
                answer(about);
                // A failed check must not leave the box open.
                if (about->ModalResult == 0)
                    about->ModalResult = 2;
            }
        }
    });
    poll.start(10);
    open();
    QVERIFY(answered);
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hoverOverLinks_data()
    {
        QTest::addColumn<bool>("panelParent");
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QStringList>("highlighted");
        QTest::newRow("onto one link") << true << QStringList{"a"} << QStringList{"a"};
        QTest::newRow("from link to link") << true << QStringList{"a", "b"} << QStringList{"b"};
        QTest::newRow("back onto the panel") << true << QStringList{"a", "b", "parent"} << QStringList{};
        QTest::newRow("over a plain label") << true << QStringList{"a", "plain"} << QStringList{"a"};
        QTest::newRow("group box keeps the link") << false << QStringList{"a", "parent"} << QStringList{"a"};
        QTest::newRow("group box, link to link") << false << QStringList{"a", "b"} << QStringList{"b"};
    }
    void hoverOverLinks()
    {
        QFETCH(bool, panelParent);
        QFETCH(QStringList, moves);
        QWidget window;
        QWidget* parent = panelParent ? static_cast<QWidget*>(new QFrame(&window)) : new QGroupBox(&window);
        auto* a = new QLabel("a", parent);
        auto* b = new QLabel("b", parent);
        auto* plain = new QLabel("plain", parent);
        QPalette red = plain->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        plain->setPalette(red);
        LabelToLink(a, "http://a.example/");
        LabelToLink(b, "http://b.example/");
        QVERIFY(!a->font().underline());
        const QMap<QString, QWidget*> targets{{"a", a}, {"b", b}, {"plain", plain}, {"parent", parent}};
        for (const QString& move : moves)
            MoveOver(targets.value(move));
        QFETCH(QStringList, highlighted);
        for (QLabel* link : {a, b})
            QCOMPARE(Highlighted(link), highlighted.contains(link->text()));
        QCOMPARE(plain->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(!plain->font().underline());
    }

    void clickOpensTheLinkAndResetsIt()
    {
        TShellLog shell;
        QFrame panel;
        auto* a = new QLabel("a", &panel);
        LabelToLink(a, "mailto:someone@quenbrook.example");
        MoveOver(a);
        QVERIFY(Highlighted(a));
        QTest::mouseClick(a, Qt::LeftButton);
        QVERIFY(Normal(a));
        QCOMPARE(shell.Targets, QStringList{"mailto:someone@quenbrook.example"});
        QCOMPARE(a->cursor().shape(), Qt::PointingHandCursor);
    }

    // Opened once a click, and only when released over the link.
    void linkOpensOnceAClick_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("opened");
        QTest::newRow("click") << "click" << 1;
        QTest::newRow("double-click") << "double" << 1;
        QTest::newRow("dragged off before release") << "drag" << 0;
    }
    void linkOpensOnceAClick()
    {
        QFETCH(QString, gesture);
        TShellLog shell;
        QFrame panel;
        auto* a = new QLabel("a link", &panel);
        LabelToLink(a, "http://a.example/");
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        if (gesture == "click") {
            QTest::mouseClick(a, Qt::LeftButton);
        } else if (gesture == "double") {
            QTest::mouseClick(a, Qt::LeftButton);
            QTest::mouseDClick(a, Qt::LeftButton);
        } else {
            QTest::mousePress(a, Qt::LeftButton);
            QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(-20, -20));
        }
        QTEST(int(shell.Targets.size()), "opened");
    }

    void versionRecord()
    {
        const TVersionRecord record = TVersionRecord::Read(qEnvironmentVariable("ORVANTA_BINARY"));
        QCOMPARE(record.FileVersionMS, quint32(0x00010000));
        QCOMPARE(record.FileVersionLS, quint32(250));
        TfrmAbout about;
        about.FillFrom("Orvanta", record.FileVersionMS, record.FileVersionLS, false);
        QCOMPARE(about.Version->text(), QStringLiteral("Version 1.0  Build 250"));
        QCOMPARE(about.Version->x(), about.ProductName->x() + about.ProductName->width() + 8);
        QCOMPARE(about.Version->geometry().bottom(), about.ProductName->geometry().bottom());
        QCOMPARE(about.lblEmail->text(), QStringLiteral("Orvanta@quenbrook.example"));
        QCOMPARE(about.lblEmail->toolTip(), QStringLiteral("mailto:Orvanta@quenbrook.example"));
        QCOMPARE(about.lblDonation->toolTip(), SiteBaseAddress() + "software/donate.htm");
        QCOMPARE(about.lblSoftware->toolTip(), SiteBaseAddress() + "software");
        QCOMPARE(about.lblSite->toolTip(), SiteBaseAddress());
    }

    void fileWithoutARecord()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("no record in here");
        file.close();
        QVERIFY_THROWS_EXCEPTION(EPlatformError, TVersionRecord::Read(file.fileName()));
        try {
            TVersionRecord::Read(file.fileName());
        } catch (const EPlatformError& error) {
            QCOMPARE(error.Message(), QStringLiteral("File contains no version information"));
        }
    }

    void titleSize_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("points");
        QTest::newRow("10 characters") << "ABCDEFGHIJ" << 18;
        QTest::newRow("11 characters") << "ABCDEFGHIJK" << 14;
    }
    void titleSize()
    {
        QFETCH(QString, title);
        TfrmAbout about;
        about.FillFrom(title, 0x00010000, 250, true);
        QTEST(about.ProductName->font().pointSize(), "points");
        QVERIFY(about.lblDonation->isHidden());
    }

    void typedWordsRevealPages_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("small letters") << "author" << "AuthorPanel";
        QTest::newRow("capital letters") << "UPDATE" << "UpdatePanel";
        QTest::newRow("another word from a hidden page") << "updateaddresses" << "AddressesPanel";
        QTest::newRow("the shown page's word, then another") << "updateupdateauthor" << "AuthorPanel";
        QTest::newRow("after a wrong letter") << "uxupdate" << "AboutPanel";
        QTest::newRow("a digit clears") << "ux1update" << "UpdatePanel";
        QTest::newRow("bracket counts as a letter") << "[author" << "AboutPanel";
        QTest::newRow("escape brings the About page back") << "author\x1b" << "AboutPanel";
        QTest::newRow("half a word") << "auth" << "AboutPanel";
    }
    void typedWordsRevealPages()
    {
        QFETCH(QString, typed);
        TfrmAbout about;
        about.FillFrom("Orvanta", 0x00010000, 250, false);
        for (QChar key : typed)
            about.FormKeyPress(key);
        QTEST(about.ShownPanel()->objectName(), "shown");
        QCOMPARE(about.ShownPanel()->parentWidget(), about.HostPanel);
    }

    void hiddenPagesOfEachProduct_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("shot");
        QTest::addColumn<QString>("zip");
        QTest::newRow("Orvanta") << "Orvanta" << "orvanta" << "orvanta" << "orvanta";
        QTest::newRow("Tolvenark") << "Tolvenark" << "tvk" << "tolvenark" << "tolvenark";
        QTest::newRow("Quenbrook's Tethra") << ProductKeyOf("Quenbrook's Tethra") << "tethra" << "tethra" << "tethra";
    }
    void hiddenPagesOfEachProduct()
    {
        QFETCH(QString, key);
        QFETCH(QString, info);
        QFETCH(QString, shot);
        QFETCH(QString, zip);
        QCOMPARE(ProductKeyOf("Quenbrook's Tethra"), QStringLiteral("QuenbrooksTethra"));
        TEasterEggsForm eggs;
        const QString base = "http://base.example/";
        eggs.FillPages(base, base + "software", key);
        const QString download = base + "software/download/" + zip + ".zip";
        QCOMPARE(eggs.DownloadUrl(), download);
        QCOMPARE(eggs.Addresses->toPlainText().split('\n'),
                 (QStringList{"", "Information:", base + "software/" + info + ".htm", "", "Screenshot:",
                              base + "images/software_" + shot + ".jpg", "", "Download:", download}));
        QCOMPARE(eggs.DownloadNowLabel->text(), QStringLiteral("Click here to download the latest version of Orvanta."));
        QVERIFY(!eggs.Image1->pixmap().isNull());
        TShellLog shell;
        QTest::mouseClick(eggs.DownloadNowLabel, Qt::LeftButton);
        QCOMPARE(shell.Targets, QStringList{download});
    }

    void focusPassingToAnotherWindowCloses()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs a window system that moves the focus between windows");
        QWidget other;
        other.resize(200, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        RunAboutBox([&](TfrmAbout* about) {
            about->activateWindow();
            QTRY_VERIFY(about->isActiveWindow());
            other.activateWindow();
            QTRY_COMPARE(about->ModalResult, 2);
        });
    }

    // The main window's About box says which web engine the program runs on, as the engine
    // itself reports it.
    void namesTheWebEngine()
    {
        TfrmMain form;
        RunAboutBox(
            [](TfrmAbout* about) {
                QVERIFY(about->lblBuiltOn->isVisible());
                QVERIFY(about->lblBuiltOn->text().contains(QLatin1String(qWebEngineVersion())));
                QVERIFY(about->lblBuiltOn->text().contains("Chromium " + QLatin1String(qWebEngineChromiumVersion())));
                QVERIFY(about->lblBuiltOn->toolTip().contains(QLatin1String(qWebEngineChromiumSecurityPatchVersion())));
            },
            [&form] { form.AboutMenuItemClick(); });
    }

    void opensAndClosesTenTimes()
    {
        QWidget mainForm;
        mainForm.resize(400, 300);
        SetApplicationMainForm(&mainForm);
        mainForm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainForm));
        for (int i = 0; i < 10; ++i) {
            RunAboutBox([&](TfrmAbout* about) {
                QVERIFY(!mainForm.isEnabled());
                QCOMPARE(about->ProductName->text(), QStringLiteral("Orvanta"));
                QTRY_VERIFY(about->isActiveWindow());
                QTRY_COMPARE(QApplication::focusWidget(), about->OKButton);
                QTest::keyClicks(about->OKButton, "update");
                QCOMPARE(about->ShownPanel(), about->EasterEggs()->UpdatePanel);
                QTest::keyClick(about->OKButton, Qt::Key_Escape);
                QCOMPARE(about->ShownPanel(), about->AboutPanel);
                QVERIFY(about->isVisible());
                QCOMPARE(about->ModalResult, 0);
                if (i % 2 == 0) {
                    about->OKButton->click();
                    QCOMPARE(about->ModalResult, 1);
                } else {
                    // A close request is refused; the box fades out all the same.
                    about->close();
                    QVERIFY(about->isVisible());
                    QCOMPARE(about->ModalResult, 2);
                }
            });
            QVERIFY(mainForm.isEnabled());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            for (QWidget* window : QApplication::topLevelWidgets()) {
                QVERIFY(!qobject_cast<TfrmAbout*>(window));
                QVERIFY(!qobject_cast<TEasterEggsForm*>(window));
                QVERIFY2(!window->objectName().endsWith("Panel"), qPrintable(window->objectName()));
            }
        }
        SetApplicationMainForm(nullptr);
    }
};

ORVANTA_TEST_MAIN(TestAbout)
#include "tst_about.moc"
