#include "browser/CredentialStore.h"

#include "platform/Keyring.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

// A key as a settings name: nothing in it that the file's form could take for its own.
QString FileKey(const QString& key)
{
    return QStringLiteral("Credentials/") + QString::fromLatin1(key.toUtf8().toBase64(QByteArray::Base64UrlEncoding));
}

QString Secret(const TCredentials& credentials)
{
    return credentials.User + QLatin1Char('\n') + credentials.Password;
}

} // namespace

TCredentialStore::TCredentialStore(QObject* parent) : QObject(parent), FKeyring(new TKeyring(this)) {}

std::optional<TCredentials> TCredentialStore::Known(const QString& key) const
{
    const auto found = FKnown.constFind(key);
    return found == FKnown.constEnd() ? std::nullopt : std::optional<TCredentials>(*found);
}

void TCredentialStore::LookUp(const QString& key)
{
    if (FAsked.contains(key))
        return;
    FAsked.insert(key);
    const QString stored = QSettings(FileName(), QSettings::IniFormat).value(FileKey(key)).toString();
    if (!stored.isEmpty()) {
        Found(key, stored);
        QMetaObject::invokeMethod(this, [this, key] { Q_EMIT LookedUp(key); }, Qt::QueuedConnection);
        return;
    }
    FPending.insert(key);
    FKeyring->Read(key, [this, key](TKeyring::TAnswer answer, const QString& secret) {
        FPending.remove(key);
        if (answer == TKeyring::TAnswer::Found)
            Found(key, secret);
        else if (answer == TKeyring::TAnswer::Unavailable)
            FKeyringAvailable = false;
        Q_EMIT LookedUp(key);
    });
}

bool TCredentialStore::Asked(const QString& key) const
{
    return FAsked.contains(key);
}

bool TCredentialStore::Pending(const QString& key) const
{
    return FPending.contains(key);
}

void TCredentialStore::Refuse(const QString& key)
{
    FKnown.remove(key);
}

void TCredentialStore::Keep(const QString& key, const TCredentials& credentials, bool remember, bool inFile)
{
    FKnown.insert(key, credentials);
    if (!remember)
        return;
    if (FKeyringAvailable) {
        FKeyring->Write(key, Secret(credentials), [this](bool stored) {
            if (!stored)
                FKeyringAvailable = false;
        });
        return;
    }
    if (!inFile)
        return;
    // The folder and the file are the user's alone before anything is written into them.
    const QString folder = QFileInfo(FileName()).path();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile file(FileName());
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(FileName(), QFile::ReadOwner | QFile::WriteOwner);
    QSettings(FileName(), QSettings::IniFormat).setValue(FileKey(key), Secret(credentials));
}

bool TCredentialStore::KeyringAvailable() const
{
    return FKeyringAvailable;
}

QString TCredentialStore::FileName() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Credentials/credentials.ini");
}

void TCredentialStore::Found(const QString& key, const QString& secret)
{
    const qsizetype split = secret.indexOf(QLatin1Char('\n'));
    if (split >= 0)
        FKnown.insert(key, {secret.left(split), secret.mid(split + 1)});
}
