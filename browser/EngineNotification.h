#pragma once

#include "browser/WebNotification.h"

#include <memory>

class QWebEngineNotification;

// A page's notification as the web engine hands it over.
class TEngineNotification : public TWebNotification
{
    Q_OBJECT

public:
    TEngineNotification(std::unique_ptr<QWebEngineNotification> notification, QObject* parent);
    ~TEngineNotification() override;

    QString Title() const override;
    QString Message() const override;
    QImage Icon() const override;
    QString Tag() const override;
    void Show() override;
    void Click() override;
    void Close() override;

private:
    std::unique_ptr<QWebEngineNotification> FNotification;
};
