#include "browser/EngineNotification.h"

#include <QWebEngineNotification>

TEngineNotification::TEngineNotification(std::unique_ptr<QWebEngineNotification> notification, QObject* parent)
    : TWebNotification(parent), FNotification(std::move(notification))
{
    connect(FNotification.get(), &QWebEngineNotification::closed, this, [this] {
        Q_EMIT Closed();
        deleteLater();
    });
}

TEngineNotification::~TEngineNotification() = default;

QString TEngineNotification::Title() const
{
    return FNotification->title();
}

QString TEngineNotification::Message() const
{
    return FNotification->message();
}

QImage TEngineNotification::Icon() const
{
    return FNotification->icon();
}

QString TEngineNotification::Tag() const
{
    return FNotification->tag();
}

void TEngineNotification::Show()
{
    FNotification->show();
}

void TEngineNotification::Click()
{
    FNotification->click();
}

void TEngineNotification::Close()
{
    disconnect(FNotification.get(), &QWebEngineNotification::closed, this, nullptr);
    FNotification->close();
    deleteLater();
}
