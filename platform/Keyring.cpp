#include "platform/Keyring.h"

#include <qt6keychain/keychain.h>

const QString TKeyring::Service = QStringLiteral("Orvanta");

TKeyring::TKeyring(QObject* parent) : QObject(parent) {}

void TKeyring::Read(const QString& key, TReadDone done)
{
    auto* job = new QKeychain::ReadPasswordJob(Service, this);
    job->setKey(key);
    connect(job, &QKeychain::Job::finished, this, [done = std::move(done)](QKeychain::Job* finished) {
        const QKeychain::Error error = finished->error();
        if (error == QKeychain::NoError)
            done(TAnswer::Found, static_cast<QKeychain::ReadPasswordJob*>(finished)->textData());
        else
            done(error == QKeychain::EntryNotFound ? TAnswer::NotFound : TAnswer::Unavailable, QString());
    });
    job->start();
}

void TKeyring::Write(const QString& key, const QString& secret, std::function<void(bool stored)> done)
{
    auto* job = new QKeychain::WritePasswordJob(Service, this);
    job->setKey(key);
    job->setTextData(secret);
    connect(job, &QKeychain::Job::finished, this,
            [done = std::move(done)](QKeychain::Job* finished) { done(finished->error() == QKeychain::NoError); });
    job->start();
}
