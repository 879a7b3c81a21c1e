#include "browser/CertificateTrust.h"

#include <QRegularExpression>

namespace {

// "host:port HEX": the host, the port and 64 hexadecimal digits; nothing when it can't be read.
std::optional<std::pair<QString, QString>> Parse(const QString& entry)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\S+:\\d{1,5})\\s+([0-9A-Fa-f]{64})\\s*$"));
    const QRegularExpressionMatch match = form.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    return std::make_pair(match.captured(1).toLower(), match.captured(2).toUpper());
}

} // namespace

TCertificateTrust::TCertificateTrust(const QStringList& entries, bool locked) : FEntries(entries), FLocked(locked) {}

bool TCertificateTrust::Locked() const
{
    return FLocked;
}

QStringList TCertificateTrust::Entries() const
{
    return FEntries;
}

QString TCertificateTrust::AddressOf(const QUrl& url)
{
    const int port = url.port(url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("wss") ? 443 : 80);
    return url.host().toLower() + QLatin1Char(':') + QString::number(port);
}

QString TCertificateTrust::FingerprintOf(const QSslCertificate& certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex().toUpper());
}

bool TCertificateTrust::Trusted(const QUrl& url, const QSslCertificate& certificate) const
{
    return !certificate.isNull() && TrustedFingerprint(url) == FingerprintOf(certificate);
}

std::optional<QString> TCertificateTrust::TrustedFingerprint(const QUrl& url) const
{
    const QString address = AddressOf(url);
    for (const QString& entry : FEntries) {
        if (const auto parsed = Parse(entry); parsed && parsed->first == address)
            return parsed->second;
    }
    return std::nullopt;
}

void TCertificateTrust::Trust(const QUrl& url, const QSslCertificate& certificate)
{
    if (FLocked || certificate.isNull())
        return;
    RemoveAddress(AddressOf(url));
    FEntries.append(AddressOf(url) + QLatin1Char(' ') + FingerprintOf(certificate));
    Q_EMIT Changed();
}

void TCertificateTrust::Forget(const QUrl& url)
{
    if (!FLocked && RemoveAddress(AddressOf(url)))
        Q_EMIT Changed();
}

bool TCertificateTrust::RemoveAddress(const QString& address)
{
    const auto removed = FEntries.removeIf([&address](const QString& entry) {
        const auto parsed = Parse(entry);
        return parsed && parsed->first == address;
    });
    return removed > 0;
}
