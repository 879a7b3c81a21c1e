#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>

class TKeyring;

struct TCredentials
{
    QString User;
    QString Password;
};

// The user names and passwords of sign-ins, by address and realm: for this run in memory, and
// where the user asked, in the desktop's keyring or, with none running, in a file only that user
// can read, apart from the settings. Nothing of them is ever written elsewhere.
class TCredentialStore : public QObject
{
    Q_OBJECT

public:
    explicit TCredentialStore(QObject* parent);

    std::optional<TCredentials> Known(const QString& key) const;
    // Asks the private file and the keyring, once a run, for a key; LookedUp tells the answer.
    void LookUp(const QString& key);
    bool Asked(const QString& key) const;
    bool Pending(const QString& key) const;
    // The server refused them: they are not sent again until the user gives them anew.
    void Refuse(const QString& key);
    // `remember`: kept in the keyring, or where there is none and `inFile`, in the private file.
    void Keep(const QString& key, const TCredentials& credentials, bool remember, bool inFile);
    // False once the keyring was found missing.
    bool KeyringAvailable() const;

Q_SIGNALS:
    void LookedUp(const QString& key);

private:
    QString FileName() const;
    void Found(const QString& key, const QString& secret);

    TKeyring* FKeyring;
    QHash<QString, TCredentials> FKnown;
    QSet<QString> FAsked;
    QSet<QString> FPending;
    bool FKeyringAvailable = true;
};
