#pragma once

#include <QUrl>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A server's or a proxy's request for a sign-in that the stored credentials could not answer.
struct TSignInRequest
{
    QUrl Url;
    QString Realm;
    // The address and realm the credentials are kept for.
    QString Key;
    // The last ones given were not accepted.
    bool Refused = false;
};

// The program's own sign-in form in a page's place: user name, password, and whether to
// remember them. It takes the focus from the page it covers, or when someone clicks into it.
class TSignInPage : public QWidget
{
    Q_OBJECT

public:
    explicit TSignInPage(QWidget* parent);

    // `keyring`: a keyring runs to remember the sign-in in; without one the user may choose a
    // private file instead.
    void Show(const TSignInRequest& request, bool keyring);

    QLabel* lblSite;
    QLabel* lblRefused;
    QLineEdit* edtUser;
    QLineEdit* edtPassword;
    QCheckBox* cbRemember;
    QLabel* lblNoKeyring;
    QCheckBox* cbInFile;
    QPushButton* btnSignIn;

Q_SIGNALS:
    void SignIn(const QString& user, const QString& password, bool remember, bool inFile);
};
