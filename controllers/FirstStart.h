#pragma once

#include <QObject>
#include <QPointer>

class TfrmWelcome;
class QWidget;

// The first start: while the site list is only the placeholder every start begins with, the
// shown page is covered by the welcome page, whose button asks for the setup dialog's site list.
class TFirstStart : public QObject
{
    Q_OBJECT

public:
    // The welcome page over `page` when `placeholder` (the list is the placeholder alone), none otherwise.
    void Update(QWidget* page, bool placeholder);
    // What takes the keys on a first start: the welcome page's button; null on any other.
    QWidget* KeyTarget() const;

Q_SIGNALS:
    void AddSiteRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<TfrmWelcome> FWelcome;
};
