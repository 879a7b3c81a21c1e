#pragma once

#include "FakeWebBrowser.h"
#include "TestSupport.h"

#include "controllers/ControllerMain.h"
#include "platform/TabControl.h"
#include "views/ViewSetup.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

// The controller with fake pages; the test stands in for the application and frees the window.
class TMain
{
public:
    TMain() : FMain(std::make_unique<TCMain>(&TFakeWebBrowser::Create)) {}
    ~TMain() { Free(); }
    void Free()
    {
        if (!FMain)
            return;
        TfrmMain* form = FMain->MainForm;
        FMain.reset();
        delete form;
    }
    TCMain* operator->() const { return FMain.get(); }
    TCMain* get() const { return FMain.get(); }
    TfrmMain* Form() const { return FMain->MainForm; }
    TCRegistry* Settings() const { return FMain->Registry(); }
    TTabControl* Selector() const { return FMain->MainForm->tcBrowserContainer; }
    TFakeWebBrowser* Page(int i) const { return static_cast<TFakeWebBrowser*>(FMain->Browser(i)); }
    QStringList Captions() const
    {
        QStringList captions;
        for (QToolButton* button : {Form()->tbMenu, Form()->tbBack, Form()->tbForward, Form()->tbHome,
                                    Form()->tbRefresh, Form()->tbStop})
            captions.append(button->text());
        return captions;
    }

private:
    std::unique_ptr<TCMain> FMain;
};

inline void StoreSites(const QStringList& titles, const QStringList& urls, const QMap<QString, QString>& settings = {})
{
    StoreSitesIn(ConfigFile(), titles, urls, settings);
}

inline TfrmSetup* OpenDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<TfrmSetup*>(window); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Opens the dialog by `open` and answers its modal loop from a timer.
inline void RunSetupFrom(const std::function<void()>& open, const std::function<void(TfrmSetup*)>& answer)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (TfrmSetup* dialog = OpenDialog(); dialog && !answered) {
            answered = true;
            answer(dialog);
            if (dialog->isVisible())
                dialog->btnCancel->click();
        }
    });
    poll.start(10);
    open();
    QVERIFY(answered);
}

// Opens the dialog through the menu item.
inline void RunSetup(TMain& main, QAction* item, const std::function<void(TfrmSetup*)>& answer)
{
    RunSetupFrom([&] { main->SetupClick(item); }, answer);
}
