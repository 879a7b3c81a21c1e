#pragma once

#include "browser/WebBrowser.h"

#include <QStringList>

// A browser page without an engine: it records what it was asked to do, fails where told,
// and reports progress only when a test makes it.
class TFakeWebBrowser : public TWebBrowser
{
    Q_OBJECT

public:
    explicit TFakeWebBrowser(QWidget* parent);
    ~TFakeWebBrowser() override;

    static TWebBrowser* Create(QWidget* parent, const QString& profile);
    // Every fake page alive, in creation order.
    static QList<TFakeWebBrowser*> Pages();
    // What every fake page was asked, in order, as "<address> <member>".
    static QStringList& Journal();
    // Pages created from now on refuse to navigate.
    static bool& FailNewPages();

    bool Silent() const override;
    void SetSilent(bool silent) override;
    void Navigate(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh2() override;
    void Stop() override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;
    TLoadState LoadState() const override;
    void SetZoom(int percent) override;
    void SetStyleSheet(const QString& css) override;
    void SetScrollTime(int seconds) override;
    void SetScrollPaused(bool paused) override;
    qint64 RendererMemory() const override;
    QWidget* Application() const override;
    void FindText(const QString& text, bool backward, std::function<void(int active, int matches)> found) override;
    void Print(QPrinter* printer, std::function<void(bool printed)> done) override;

    // A finished load of a document with this address and title.
    void Load(const QString& address, const QString& title);
    void Report(int progress, int progressMax);
    // The page's load comes to that state, as the engine reports it.
    void SetState(TLoadState state);

    QStringList Calls;
    QString Url;
    QString Title;
    QString Profile;
    int Zoom = 100;
    QString StyleSheet;
    int ScrollTime = 0;
    bool ScrollPaused = false;
    qint64 Memory = -1;
    TLoadState State = TLoadState::Loading;
    bool FailBack = false;
    bool FailForward = false;
    bool FailRefresh = false;
    bool FailNavigate = false;
    bool FailLocation = false;

private:
    void Record(const QString& call);

    bool FSilent = false;
};
