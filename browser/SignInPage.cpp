#include "browser/SignInPage.h"

#include "browser/OwnPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSignInPage::TSignInPage(QWidget* parent) : QWidget(parent)
{
    QVBoxLayout* layout = LayOutOwnPage(this, QStringLiteral("SignInPage"), QStringLiteral("This site asks you to sign in"));
    lblSite = new QLabel(this);
    lblSite->setWordWrap(true);
    lblSite->setTextFormat(Qt::PlainText);
    lblRefused = new QLabel(QStringLiteral("The user name or password was not accepted."), this);
    lblRefused->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* fields = new QFormLayout;
    edtUser = new QLineEdit(this);
    edtUser->setObjectName(QStringLiteral("edtUser"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    // As wide as a long name, in the font in use.
    for (QLineEdit* field : {edtUser, edtPassword})
        field->setMaximumWidth(field->fontMetrics().averageCharWidth() * 40);
    fields->addRow(QStringLiteral("&User name"), edtUser);
    fields->addRow(QStringLiteral("&Password"), edtPassword);
    cbRemember = new QCheckBox(QStringLiteral("&Remember"), this);
    lblNoKeyring = new QLabel(QStringLiteral("No keyring is running: the sign-in is kept until the program ends, "
                                             "or if you tick below, in a file only you can read."),
                              this);
    lblNoKeyring->setWordWrap(true);
    cbInFile = new QCheckBox(QStringLiteral("Keep it in a &file only I can read"), this);
    btnSignIn = new QPushButton(QStringLiteral("&Sign in"), this);
    btnSignIn->setObjectName(QStringLiteral("btnSignIn"));
    btnSignIn->setDefault(true);
    for (QLineEdit* field : {edtUser, edtPassword})
        connect(field, &QLineEdit::returnPressed, btnSignIn, &QPushButton::click);
    connect(cbRemember, &QCheckBox::toggled, cbInFile, &QWidget::setEnabled);
    connect(btnSignIn, &QPushButton::clicked, this, [this] {
        Q_EMIT SignIn(edtUser->text(), edtPassword->text(), cbRemember->isChecked(),
                      !cbInFile->isHidden() && cbInFile->isChecked());
    });
    layout->addWidget(lblSite);
    layout->addWidget(lblRefused);
    layout->addLayout(fields);
    layout->addWidget(cbRemember);
    layout->addWidget(lblNoKeyring);
    layout->addWidget(cbInFile);
    layout->addWidget(btnSignIn, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void TSignInPage::Show(const TSignInRequest& request, bool keyring)
{
    const QString where = request.Url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery);
    lblSite->setText(request.Realm.isEmpty() ? where : where + QStringLiteral(" — ") + request.Realm);
    lblRefused->setVisible(request.Refused);
    edtPassword->clear();
    lblNoKeyring->setVisible(!keyring);
    cbInFile->setVisible(!keyring);
    cbInFile->setEnabled(cbRemember->isChecked());
    show();
    raise();
}
