#include "shared/KestViewAbout.h"

#include "platform/Application.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/VersionRecord.h"
#include "shared/KestViewEasterEggs.h"
#include "shared/LibHyperlink.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int FadeStep = 3;
constexpr int FadeLimitMs = 300;
const QString MailDomain = QStringLiteral("quenbrook.example");

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, const QString& css)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setStyleSheet(css);
    label->adjustSize();
    return label;
}

void PlaceRightAligned(QLabel* label, int right, int top)
{
    label->adjustSize();
    label->move(right - label->width(), top);
}

// Opacity from one end to the other by steps of 3, jumping to the end after 300 ms.
void Fade(QWidget* form, int from, int to)
{
    QElapsedTimer elapsed;
    elapsed.start();
    int opacity = from;
    while (opacity != to) {
        opacity = to > from ? qMin(opacity + FadeStep, to) : qMax(opacity - FadeStep, to);
        form->setWindowOpacity(opacity / 255.0);
        form->repaint();
        if (elapsed.elapsed() > FadeLimitMs)
            opacity = to;
    }
    form->setWindowOpacity(to / 255.0);
}

} // namespace

TfrmAbout::TfrmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(342 + 10, 202 + 10);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    HostPanel = new QFrame(this);
    HostPanel->setObjectName(QStringLiteral("HostPanel"));
    HostPanel->setFixedSize(342, 170);
    new QVBoxLayout(HostPanel);
    HostPanel->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HostPanel);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(32);
    auto* buttons = new QHBoxLayout(Panel2);
    buttons->setContentsMargins(0, 0, 0, 0);
    OKButton = new QPushButton(QStringLiteral("&Ok"), Panel2);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setFixedSize(75, 25);
    OKButton->setDefault(true);
    buttons->addWidget(OKButton, 0, Qt::AlignCenter);
    layout->addWidget(Panel2);
    connect(OKButton, &QPushButton::clicked, this, [this] { ModalResult = 1; });

    AboutPanel = NewPagePanel(QStringLiteral("AboutPanel"), this);
    HostPanel->layout()->addWidget(AboutPanel);

    ProductName = AddLabel(AboutPanel, QStringLiteral("ProductName"), QString(), QString());
    ProductName->move(12, 12);
    QFont title = ProductName->font();
    title.setBold(true);
    title.setPointSize(18);
    ProductName->setFont(title);
    QPalette maroon = ProductName->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    ProductName->setPalette(maroon);
    Version = AddLabel(AboutPanel, QStringLiteral("Version"), QString(),
                       QStringLiteral("color: navy; font-weight: bold; font-size: 11px;"));
    Copyright = AddLabel(AboutPanel, QStringLiteral("Copyright"), QStringLiteral("Made with care by Mira Quenbrook"),
                         QStringLiteral("color: navy; font-size: 13px;"));
    Copyright->move(32, 50);
    const QString link = QStringLiteral("font-size: 11px;");
    lblDonation = AddLabel(AboutPanel, QStringLiteral("lblDonation"), QStringLiteral("Make a donation"), link);
    lblDonation->move(10, 80);
    lblEmail = AddLabel(AboutPanel, QStringLiteral("lblEmail"), QString(), link);
    lblSoftware = AddLabel(AboutPanel, QStringLiteral("lblSoftware"), QStringLiteral("More freeware and updates"), link);
    lblSoftware->move(10, 97);
    lblSite = AddLabel(AboutPanel, QStringLiteral("lblSite"), QStringLiteral("quenbrook.example"), link);
    PlaceRightAligned(lblSite, 332, 97);
    Shape1 = new QFrame(AboutPanel);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(2, 120, 338, 3);
    Shape1->setStyleSheet(QStringLiteral("background: grey; border: 1px solid silver;"));
    Label1 = AddLabel(AboutPanel, QStringLiteral("Label1"),
                      QStringLiteral("Copyright (c) Quenbrook. This program comes without any warranty; "
                                     "use it at your own risk."),
                      QStringLiteral("color: grey;"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(2, 170 - 45 - 2, 338, 45);
    lblBuiltOn = AddLabel(AboutPanel, QStringLiteral("lblBuiltOn"), QString(), QStringLiteral("color: grey; font-size: 11px;"));
    lblBuiltOn->setAlignment(Qt::AlignCenter);
    lblBuiltOn->hide();

    FEasterEggs = new TEasterEggsForm;
    FShownPanel = AboutPanel;
    qApp->installEventFilter(this);
}

// The hidden pages go once the pending messages have been handled.
TfrmAbout::~TfrmAbout()
{
    if (FEasterEggs)
        FEasterEggs->deleteLater();
}

QString TfrmAbout::ProductKey() const
{
    return FProductKey;
}

TEasterEggsForm* TfrmAbout::EasterEggs() const
{
    return FEasterEggs;
}

QFrame* TfrmAbout::ShownPanel() const
{
    return FShownPanel;
}

QString TfrmAbout::Typed() const
{
    return FTyped;
}

void TfrmAbout::SetBuiltOn(const QString& line, const QString& hint)
{
    lblBuiltOn->setText(line);
    lblBuiltOn->setToolTip(hint);
    lblBuiltOn->setVisible(!line.isEmpty());
    // The notice below the line makes room for it.
    const int top = 120 + 3 + 2;
    const int bottom = 170 - 2;
    const int lineHeight = line.isEmpty() ? 0 : lblBuiltOn->sizeHint().height();
    lblBuiltOn->setGeometry(2, top, 338, lineHeight);
    Label1->setGeometry(2, top + lineHeight, 338, bottom - top - lineHeight);
}

void TfrmAbout::FillFrom(const QString& title, quint32 fileVersionMS, quint32 fileVersionLS, bool hideDonation)
{
    ProductName->setText(title);
    QFont font = ProductName->font();
    font.setPointSize(title.size() > 10 ? 14 : 18);
    ProductName->setFont(font);
    ProductName->adjustSize();

    Version->setText(QStringLiteral("Version %1.%2  Build %3")
                         .arg(fileVersionMS >> 16)
                         .arg(fileVersionMS & 0xffff)
                         .arg(fileVersionLS & 0xffff));
    Version->adjustSize();
    Version->move(ProductName->x() + ProductName->width() + 8,
                  ProductName->y() + ProductName->height() - Version->height());

    FProductKey = ProductKeyOf(title);
    lblEmail->setText(FProductKey + QLatin1Char('@') + MailDomain);
    PlaceRightAligned(lblEmail, 332, 80);
    LabelToLink(lblEmail, QStringLiteral("mailto:") + lblEmail->text());
    const QString base = SiteBaseAddress();
    LabelToLink(lblSite, base);
    LabelToLink(lblDonation, base + QStringLiteral("software/donate.htm"));
    LabelToLink(lblSoftware, base + QStringLiteral("software"));
    lblDonation->setVisible(!hideDonation);
    FEasterEggs->FillPages(base, base + QStringLiteral("software"), FProductKey);
}

// The panel leaving the host goes back, hidden, to the form that owns it.
void TfrmAbout::Show(QFrame* panel)
{
    FShownPanel->hide();
    FShownPanel->setParent(qobject_cast<QWidget*>(FShownPanel->property(PanelOwner).value<QObject*>()));
    FShownPanel = panel;
    HostPanel->layout()->addWidget(panel);
    panel->show();
}

void TfrmAbout::FormKeyPress(QChar& key)
{
    if (key >= QLatin1Char('a') && key <= QLatin1Char('z'))
        key = QChar(key.unicode() - 32);
    if (key.unicode() >= 65 && key.unicode() <= 91) {
        FTyped.append(key);
    } else {
        FTyped.clear();
        Show(AboutPanel);
    }
    if (FTyped.size() >= 3)
        RevealTypedPage();
}

void TfrmAbout::RevealTypedPage()
{
    // The shown page lives in the host panel, no longer with the form that owns it.
    for (QFrame* panel : FEasterEggs->Pages()) {
        QString name;
        for (const QChar c : panel->objectName())
            name.append(c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c);
        if (name == FTyped + QStringLiteral("PANEL")) {
            Show(panel);
            FTyped.clear();
            return;
        }
    }
}

void TfrmAbout::reject() {}

void TfrmAbout::closeEvent(QCloseEvent* event)
{
    event->ignore();
    ModalResult = 2;
}

// Focus passing to another window of the program closes the box; another application does not.
void TfrmAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        QTimer::singleShot(0, this, [this] {
            const QWidget* active = QApplication::activeWindow();
            if (active && active != this && active->isVisible())
                ModalResult = 2;
        });
    }
    QDialog::changeEvent(event);
}

// Key preview: every typed character, whichever control has the focus.
bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    if (!IsPreviewedKey(this, watched))
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty())
        return false;
    QChar key = text.at(0);
    FormKeyPress(key);
    return false;
}

void OpenWebPage(const QString& address)
{
    // Where the desktop has no browser to open it with, nothing would be seen at all.
    if (ShellOpen(address) == 0)
        ShowInformation(QStringLiteral("No web browser could be opened for %1. Set one up for this desktop, or open "
                                       "that address in a browser of your own.")
                            .arg(address));
}

void ShowAboutBox(bool hideDonation, const QString& builtOn, const QString& builtOnHint)
{
    QWidget* mainForm = ApplicationMainForm();
    if (mainForm) {
        mainForm->repaint();
        mainForm->setEnabled(false);
    }
    struct TEnableAgain
    {
        QWidget* Form;
        ~TEnableAgain()
        {
            if (Form)
                Form->setEnabled(true);
        }
    } enableAgain{mainForm};

    const TVersionRecord record = TVersionRecord::Read(QCoreApplication::applicationFilePath());
    auto about = std::make_unique<TfrmAbout>();
    about->FillFrom(ApplicationTitle(), record.FileVersionMS, record.FileVersionLS, hideDonation);
    about->SetBuiltOn(builtOn, builtOnHint);
    about->setWindowOpacity(0);
    about->show();
    about->activateWindow();
    Fade(about.get(), 0, 255);
    while (about->ModalResult == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Fade(about.get(), 255, 0);
    about->hide();
}
