#pragma once

#include <QSslCertificate>
#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;

// What is wrong with a certificate the engine refused, in the terms a user can judge.
struct TRefusedCertificate
{
    enum TKind { Untrusted, Expired, OtherName, Revoked, Other };
    QUrl Url;
    TKind Kind = Other;
    QString Description;
    QSslCertificate Certificate;
    // The engine lets the user go on past this error.
    bool Overridable = false;
    // Another certificate was trusted for the address.
    bool Changed = false;
};

// The program's own page in a page's place when its site's certificate was refused: what is
// wrong, the certificate's particulars, and where the engine allows it, the one way on.
class TCertificatePage : public QWidget
{
    Q_OBJECT

public:
    explicit TCertificatePage(QWidget* parent);

    // `trustable`: the button is offered; `managed`: the administrator keeps the list.
    void Show(const TRefusedCertificate& refused, bool trustable, bool managed);

    QLabel* lblReason;
    QLabel* lblDetails;
    QLabel* lblNote;
    QPushButton* btnTrust;

Q_SIGNALS:
    void TrustClicked();
};
