#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

class QWebEngineProfile;

// A site's request for a permission, as the engine of this Qt hands it over, answered with
// Answer(). Qt 6.8 made a request a value of its own (QWebEnginePermission); before it, the page
// took the answer for an origin and a feature. Everything above this class is the same on both.
class TPermissionRequest
{
public:
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    explicit TPermissionRequest(const QWebEnginePermission& permission);
#else
    TPermissionRequest(QWebEnginePage* page, const QUrl& origin, QWebEnginePage::Feature feature);
#endif

    QUrl Origin() const;
    // The feature's name in the stored decisions ("notifications", "camera", ...).
    QString Feature() const;
    // What the permission bar says the site wants ("show notifications").
    QString Wish() const;
    void Answer(bool allow) const;
    // The same question: one origin, one feature.
    bool operator==(const TPermissionRequest& other) const;

    // Calls asked for every request the page makes, and withdrawn for one the page takes back
    // before it was answered (on Qt 6.8 and newer the engine then drops it by itself).
    static void Watch(QWebEnginePage* page, QObject* context, std::function<void(const TPermissionRequest&)> asked,
                      std::function<void(const TPermissionRequest&)> withdrawn);
    // The stored answers on whether the sites may show notifications, given to the engine before
    // any page looks: sites look at Notification.permission before they ask.
    static void Preset(QWebEnginePage* page, const QMap<QString, bool>& notifications);
    static QString NotificationsFeature();
    // Our stored decisions are the one record: the engine keeps its answers for the run only.
    static void KeepAnswersForTheRun(QWebEngineProfile* profile);

private:
    int EngineFeature() const;

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QWebEnginePermission FPermission;
#else
    QWebEnginePage* FPage;
    QUrl FOrigin;
    QWebEnginePage::Feature FFeature;
#endif
};
