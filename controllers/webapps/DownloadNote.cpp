#include "controllers/webapps/DownloadNote.h"

#include "browser/Downloads.h"
#include "shared/LibHyperlink.h"
#include "views/ViewMain.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <QUrl>

TDownloadNote::TDownloadNote(TfrmMain* form) : FForm(form)
{
    FHide.setSingleShot(true);
    QObject::connect(&FHide, &QTimer::timeout, form->pnlDownloadNote, &QWidget::hide);
    TDownloads* downloads = TDownloads::Instance();
    QObject::connect(downloads, &TDownloads::Progress, form, [this](quint32 id, const QString& name, qint64 received, qint64 total) {
        if (id == FDismissed)
            return;
        FShown = id;
        FForm->btnCancelDownload->show();
        const QString amount = total > 0 ? QStringLiteral("%1%").arg(received * 100 / total)
                                         : QStringLiteral("%1 kB").arg(received / 1024);
        Say(QStringLiteral("Downloading %1 … %2").arg(name.toHtmlEscaped(), amount), true);
    });
    QObject::connect(downloads, &TDownloads::Finished, form, [this](quint32 id, const QString& path, TDownloads::TEnd end, const QString& reason) {
        FShown = id;
        FForm->btnCancelDownload->hide();
        const QFileInfo file(path);
        if (end == TDownloads::TEnd::Saved)
            Say(QStringLiteral("%1 is saved in %2. <a href=\"%3\">Open the folder</a>")
                    .arg(file.fileName().toHtmlEscaped(), QDir::toNativeSeparators(file.path()).toHtmlEscaped(),
                         QUrl::fromLocalFile(file.path()).toString(QUrl::FullyEncoded)),
                false);
        else if (end == TDownloads::TEnd::Cancelled)
            Say(QStringLiteral("The download of %1 is cancelled.").arg(file.fileName().toHtmlEscaped()), false);
        else if (end == TDownloads::TEnd::CutOff)
            Say(QStringLiteral("The download of %1 was cut off when Orvanta last ended; its part is removed. Download it "
                               "again if it is still needed.")
                    .arg(file.fileName().toHtmlEscaped()),
                false);
        else
            Say(QStringLiteral("The download of %1 failed: %2").arg(file.fileName().toHtmlEscaped(), reason.toHtmlEscaped()),
                false);
    });
    QObject::connect(form->btnCancelDownload, &QToolButton::clicked, form, [this, downloads] { downloads->Cancel(FShown); });
    QObject::connect(form->btnCloseDownloadNote, &QToolButton::clicked, form, [this] {
        if (!FForm->btnCancelDownload->isHidden())
            FDismissed = FShown;
    });
    QObject::connect(form->lblDownloadNote, &QLabel::linkActivated, form, [](const QString& link) { ShellOpen(link); });
    downloads->RemoveCutOff();
}

void TDownloadNote::Say(const QString& html, bool stays)
{
    FForm->lblDownloadNote->setText(html);
    FForm->pnlDownloadNote->show();
    if (stays)
        FHide.stop();
    else
        FHide.start(ShownMs);
}
