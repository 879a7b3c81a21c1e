#include "shared/KestViewEasterEggs.h"

#include "platform/Application.h"
#include "shared/LibHyperlink.h"

#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

void Style(QLabel* label, const QString& css)
{
    label->setStyleSheet(css);
    label->setAttribute(Qt::WA_TranslucentBackground);
}

} // namespace

QFrame* NewPagePanel(const QString& name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setProperty(PanelOwner, QVariant::fromValue<QObject*>(parent));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    // The bevel's light edges in grey: white on white would lose the right and bottom ones.
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Light, QColor(0xd8, 0xd8, 0xd8));
    panel->setPalette(white);
    return panel;
}

TEasterEggsForm::TEasterEggsForm()
{
    Q_INIT_RESOURCE(resources);
    setObjectName(QStringLiteral("EasterEggsForm"));
    setWindowTitle(QStringLiteral("Easter Eggs"));
    PageControl = new QTabWidget(this);

    AuthorPanel = AddPage(QStringLiteral("AuthorPanel"));
    Image1 = new QLabel(AuthorPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    QImageReader photo(QStringLiteral(":/author.jpg"), "jpeg");
    Image1->setPixmap(QPixmap::fromImage(photo.read()));
    AuthorPanel->layout()->addWidget(Image1);
    Label2 = new QLabel(QStringLiteral("This software is made by"), AuthorPanel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("Mira Quenbrook"), AuthorPanel);
    Label1->setObjectName(QStringLiteral("Label1"));
    for (QLabel* label : {Label2, Label1})
        Style(label, QStringLiteral("color: grey; font-style: italic; font-size: 11px;"));
    auto* credits = new QHBoxLayout;
    credits->addWidget(Label2);
    credits->addStretch();
    credits->addWidget(Label1);
    static_cast<QVBoxLayout*>(AuthorPanel->layout())->addLayout(credits);

    AddressesPanel = AddPage(QStringLiteral("AddressesPanel"));
    Addresses = new QPlainTextEdit(AddressesPanel);
    Addresses->setObjectName(QStringLiteral("Addresses"));
    Addresses->setReadOnly(true);
    Addresses->setFrameShape(QFrame::NoFrame);
    Addresses->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Every line shows on the page: it never scrolls.
    Addresses->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Addresses->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Addresses->setStyleSheet(QStringLiteral("color: navy; font-family: Arial; font-size: 11px;"));
    AddressesPanel->layout()->addWidget(Addresses);

    UpdatePanel = AddPage(QStringLiteral("UpdatePanel"));
    DownloadNowLabel = new QLabel(QStringLiteral("Click here to download the latest version of this software..."),
                                  UpdatePanel);
    DownloadNowLabel->setObjectName(QStringLiteral("DownloadNowLabel"));
    DownloadNowLabel->setWordWrap(true);
    DownloadNowLabel->setAlignment(Qt::AlignCenter);
    DownloadNowLabel->setCursor(Qt::PointingHandCursor);
    Style(DownloadNowLabel, QStringLiteral("color: navy; font-weight: bold; text-decoration: underline;"));
    DownloadNowLabel->installEventFilter(this);
    UpdatePanel->layout()->addWidget(DownloadNowLabel);
}

QList<QFrame*> TEasterEggsForm::Pages() const
{
    return {AuthorPanel, AddressesPanel, UpdatePanel};
}

QFrame* TEasterEggsForm::AddPage(const QString& panelName)
{
    auto* sheet = new QWidget;
    auto* sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    QFrame* panel = NewPagePanel(panelName, sheet);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(QMargins(4, 4, 4, 4) + panel->frameWidth());
    sheetLayout->addWidget(panel);
    PageControl->addTab(sheet, panelName);
    return panel;
}

void TEasterEggsForm::FillPages(const QString& siteBase, const QString& softwareBase, const QString& productKey)
{
    QString key;
    for (const QChar c : productKey)
        key.append(c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c);
    QString infoName = key;
    QString shotName = key;
    QString zipName = key;
    if (key == QLatin1String("tolvenark")) {
        infoName = QStringLiteral("tvk");
    } else if (key == QLatin1String("quenbrookstethra")) {
        infoName = shotName = zipName = QStringLiteral("tethra");
    }
    FDownloadUrl = softwareBase + QStringLiteral("/download/") + zipName + QStringLiteral(".zip");
    DownloadNowLabel->setText(QStringLiteral("Click here to download the latest version of ") + ApplicationTitle()
                              + QLatin1Char('.'));
    const QStringList lines{QString(),
                            QStringLiteral("Information:"),
                            softwareBase + QLatin1Char('/') + infoName + QStringLiteral(".htm"),
                            QString(),
                            QStringLiteral("Screenshot:"),
                            siteBase + QStringLiteral("images/software_") + shotName + QStringLiteral(".jpg"),
                            QString(),
                            QStringLiteral("Download:"),
                            FDownloadUrl};
    Addresses->setPlainText(lines.join(QLatin1Char('\n')));
}

QString TEasterEggsForm::DownloadUrl() const
{
    return FDownloadUrl;
}

void TEasterEggsForm::DownloadNowLabelClick()
{
    ShellOpen(FDownloadUrl);
}

bool TEasterEggsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DownloadNowLabel && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        DownloadNowLabelClick();
        return true;
    }
    return false;
}
