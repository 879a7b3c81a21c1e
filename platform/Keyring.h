#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// Secrets in the desktop's keyring through QtKeychain: the Secret Service on Linux, the
// Credential Manager on Windows. A session without one (a bare kiosk session often has
// none) answers every request as unavailable.
class TKeyring : public QObject
{
public:
    enum class TAnswer { Found, NotFound, Unavailable };
    using TReadDone = std::function<void(TAnswer answer, const QString& secret)>;

    explicit TKeyring(QObject* parent);

    void Read(const QString& key, TReadDone done);
    // `done` learns whether the keyring took it.
    void Write(const QString& key, const QString& secret, std::function<void(bool stored)> done);

private:
    static const QString Service;
};
