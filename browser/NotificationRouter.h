#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QWebEngineNotification;
class QWebEngineProfile;
class TWebEngineBrowser;

// The engine hands a profile's notifications over with their origin alone: each goes to the
// first page of that profile that shows a document of that origin. One a profile, its child.
class TNotificationRouter : public QObject
{
    Q_OBJECT

public:
    static void Attach(TWebEngineBrowser* page, QWebEngineProfile* profile);

private:
    explicit TNotificationRouter(QWebEngineProfile* profile);
    void Present(std::unique_ptr<QWebEngineNotification> notification);

    QList<QPointer<TWebEngineBrowser>> FPages;
};
