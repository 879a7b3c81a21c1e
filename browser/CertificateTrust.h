#pragma once

#include <QObject>
#include <QSslCertificate>
#include <QStringList>
#include <QUrl>
#include <optional>

// The certificates trusted for sites that no authority vouches for: each one certificate, by
// its SHA-256 fingerprint, for one host and port, never a kind of error. Entries are kept as
// "host:port HEX"; one that can't be read trusts nothing and is kept as it stands.
class TCertificateTrust : public QObject
{
    Q_OBJECT

public:
    TCertificateTrust(const QStringList& entries, bool locked);

    // The administrator's list is the only one: nothing is trusted or forgotten here.
    bool Locked() const;
    QStringList Entries() const;

    // The address a certificate is trusted for: "host:port".
    static QString AddressOf(const QUrl& url);
    static QString FingerprintOf(const QSslCertificate& certificate);

    bool Trusted(const QUrl& url, const QSslCertificate& certificate) const;
    // The fingerprint trusted for the url's address, when one is.
    std::optional<QString> TrustedFingerprint(const QUrl& url) const;
    void Trust(const QUrl& url, const QSslCertificate& certificate);
    void Forget(const QUrl& url);

Q_SIGNALS:
    void Changed();

private:
    bool RemoveAddress(const QString& address);

    QStringList FEntries;
    bool FLocked;
};
