#pragma once

#include <QImage>
#include <QObject>
#include <QString>

// A notification a page wants shown. It is its page's child, and goes when the page takes it
// back (Closed) or when it is closed here.
class TWebNotification : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString Title() const = 0;
    virtual QString Message() const = 0;
    // The picture the page gave it; null when none.
    virtual QImage Icon() const = 0;
    // Notifications of one page with the same tag stand for one another; empty: none.
    virtual QString Tag() const = 0;
    // Tell the page it is on the screen, or that the user clicked it.
    virtual void Show() = 0;
    virtual void Click() = 0;
    // Tells the page it is gone, and goes.
    virtual void Close() = 0;

Q_SIGNALS:
    // The page took it back; it goes.
    void Closed();
};
