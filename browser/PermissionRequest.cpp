#include "browser/PermissionRequest.h"

#include <QWebEngineProfile>
#include <algorithm>
#include <iterator>

namespace {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
using TEngineFeature = QWebEnginePermission::PermissionType;
#define ENGINE_FEATURE(name) QWebEnginePermission::PermissionType::name
#else
using TEngineFeature = QWebEnginePage::Feature;
#define ENGINE_FEATURE(name) QWebEnginePage::name
#endif

struct TFeature
{
    TEngineFeature Engine;
    const char* Name;
    const char* Wish;
};

const TFeature Features[] = {
    {ENGINE_FEATURE(Notifications), "notifications", "show notifications"},
    {ENGINE_FEATURE(Geolocation), "geolocation", "know your location"},
    {ENGINE_FEATURE(MediaAudioCapture), "microphone", "use your microphone"},
    {ENGINE_FEATURE(MediaVideoCapture), "camera", "use your camera"},
    {ENGINE_FEATURE(MediaAudioVideoCapture), "camera-microphone", "use your camera and microphone"},
    {ENGINE_FEATURE(MouseLock), "pointer-lock", "hide and hold the pointer"},
    {ENGINE_FEATURE(DesktopVideoCapture), "screen", "share your screen"},
    {ENGINE_FEATURE(DesktopAudioVideoCapture), "screen-audio", "share your screen and its sound"},
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    {ENGINE_FEATURE(ClipboardReadWrite), "clipboard", "read and change your clipboard"},
    {ENGINE_FEATURE(LocalFontsAccess), "local-fonts", "list the fonts of this computer"},
#endif
};

const TFeature* FeatureOf(int engine)
{
    const auto found = std::find_if(std::begin(Features), std::end(Features),
                                    [engine](const TFeature& feature) { return int(feature.Engine) == engine; });
    return found == std::end(Features) ? nullptr : found;
}

} // namespace

QString TPermissionRequest::Feature() const
{
    const TFeature* feature = FeatureOf(EngineFeature());
    return feature ? QLatin1String(feature->Name) : QStringLiteral("feature-%1").arg(EngineFeature());
}

QString TPermissionRequest::Wish() const
{
    const TFeature* feature = FeatureOf(EngineFeature());
    return feature ? QLatin1String(feature->Wish) : QStringLiteral("use a feature of this computer");
}

bool TPermissionRequest::operator==(const TPermissionRequest& other) const
{
    return Origin() == other.Origin() && EngineFeature() == other.EngineFeature();
}

QString TPermissionRequest::NotificationsFeature()
{
    return QLatin1String(FeatureOf(int(ENGINE_FEATURE(Notifications)))->Name);
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

TPermissionRequest::TPermissionRequest(const QWebEnginePermission& permission)
    : FPermission(permission)
{
}

QUrl TPermissionRequest::Origin() const
{
    return FPermission.origin();
}

int TPermissionRequest::EngineFeature() const
{
    return int(FPermission.permissionType());
}

void TPermissionRequest::Answer(bool allow) const
{
    if (allow)
        FPermission.grant();
    else
        FPermission.deny();
}

void TPermissionRequest::Watch(QWebEnginePage* page, QObject* context, std::function<void(const TPermissionRequest&)> asked,
                               std::function<void(const TPermissionRequest&)>)
{
    QObject::connect(page, &QWebEnginePage::permissionRequested, context,
                     [asked](QWebEnginePermission permission) { asked(TPermissionRequest(permission)); });
}

void TPermissionRequest::Preset(QWebEnginePage* page, const QMap<QString, bool>& notifications)
{
    for (auto decided = notifications.cbegin(); decided != notifications.cend(); ++decided)
        TPermissionRequest(page->profile()->queryPermission(QUrl(decided.key()), ENGINE_FEATURE(Notifications))).Answer(decided.value());
}

void TPermissionRequest::KeepAnswersForTheRun(QWebEngineProfile* profile)
{
    profile->setPersistentPermissionsPolicy(QWebEngineProfile::PersistentPermissionsPolicy::StoreInMemory);
}

#else

TPermissionRequest::TPermissionRequest(QWebEnginePage* page, const QUrl& origin, QWebEnginePage::Feature feature)
    : FPage(page), FOrigin(origin), FFeature(feature)
{
}

QUrl TPermissionRequest::Origin() const
{
    return FOrigin;
}

int TPermissionRequest::EngineFeature() const
{
    return int(FFeature);
}

void TPermissionRequest::Answer(bool allow) const
{
    FPage->setFeaturePermission(FOrigin, FFeature, allow ? QWebEnginePage::PermissionGrantedByUser : QWebEnginePage::PermissionDeniedByUser);
}

void TPermissionRequest::Watch(QWebEnginePage* page, QObject* context, std::function<void(const TPermissionRequest&)> asked,
                               std::function<void(const TPermissionRequest&)> withdrawn)
{
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, context,
                     [page, asked](const QUrl& origin, QWebEnginePage::Feature feature) { asked(TPermissionRequest(page, origin, feature)); });
    QObject::connect(page, &QWebEnginePage::featurePermissionRequestCanceled, context,
                     [page, withdrawn](const QUrl& origin, QWebEnginePage::Feature feature) {
                         withdrawn(TPermissionRequest(page, origin, feature));
                     });
}

void TPermissionRequest::Preset(QWebEnginePage* page, const QMap<QString, bool>& notifications)
{
    for (auto decided = notifications.cbegin(); decided != notifications.cend(); ++decided)
        TPermissionRequest(page, QUrl(decided.key()), QWebEnginePage::Notifications).Answer(decided.value());
}

// Qt before 6.8 keeps its answers in memory only.
void TPermissionRequest::KeepAnswersForTheRun(QWebEngineProfile*)
{
}

#endif
