#include "controllers/wall/ScreenWindows.h"

#include "platform/TabControl.h"
#include "views/ViewScreen.h"

#include <QGuiApplication>
#include <QScreen>

TScreenWindows::TScreenWindows()
{
    connect(qApp, &QGuiApplication::screenAdded, this, [this] { Update(false); });
    // Queued: the screen is still listed while it is being removed.
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] { Update(false); }, Qt::QueuedConnection);
}

TScreenWindows::~TScreenWindows() = default;

void TScreenWindows::SetEntries(const QStringList& entries)
{
    FEntries = entries;
    // Sites may have changed windows with no window made or closed.
    Update(true);
}

void TScreenWindows::SetDark(bool dark)
{
    FDark = dark;
    for (const auto& window : FWindows)
        window->Form->tcPages->setVisible(!dark);
}

QScreen* TScreenWindows::ScreenOf(const QString& entry)
{
    if (entry.isEmpty())
        return nullptr;
    const QList<QScreen*> screens = QGuiApplication::screens();
    bool isNumber = false;
    const int number = entry.toInt(&isNumber);
    if (isNumber)
        return number >= 1 && number <= screens.size() ? screens.at(number - 1) : nullptr;
    for (QScreen* screen : screens) {
        if (screen->name().compare(entry, Qt::CaseInsensitive) == 0)
            return screen;
    }
    return nullptr;
}

TScreenWindows::TWindow* TScreenWindows::WindowOf(const QScreen* screen)
{
    for (const auto& window : FWindows) {
        if (screen && window->Screen == screen)
            return window.get();
    }
    return nullptr;
}

TStage* TScreenWindows::StageOf(int site)
{
    TWindow* window = WindowOf(ScreenOf(FEntries.value(site)));
    return window ? &window->Stage : nullptr;
}

std::vector<TStage*> TScreenWindows::Stages()
{
    std::vector<TStage*> stages;
    for (const auto& window : FWindows) {
        if (window->Screen)
            stages.push_back(&window->Stage);
    }
    return stages;
}

void TScreenWindows::Update(bool entriesChanged)
{
    QList<QScreen*> wanted;
    for (const QString& entry : std::as_const(FEntries)) {
        if (QScreen* screen = ScreenOf(entry); screen && !wanted.contains(screen))
            wanted.append(screen);
    }
    bool changed = entriesChanged;
    for (const auto& window : FWindows) {
        if (!wanted.contains(window->Screen) || !QGuiApplication::screens().contains(window->Screen)) {
            window->Screen = nullptr;
            changed = true;
        }
    }
    for (QScreen* screen : std::as_const(wanted)) {
        if (!WindowOf(screen)) {
            auto window = std::make_unique<TWindow>();
            window->Screen = screen;
            window->Form = std::make_unique<TfrmScreen>(screen);
            window->Stage.Area = window->Form->tcPages;
            window->Form->tcPages->setVisible(!FDark);
            FWindows.push_back(std::move(window));
            changed = true;
        }
    }
    if (!changed)
        return;
    Q_EMIT Changed();
    FWindows.erase(std::remove_if(FWindows.begin(), FWindows.end(), [](const auto& window) { return !window->Screen; }),
                   FWindows.end());
}
