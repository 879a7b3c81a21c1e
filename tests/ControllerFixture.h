#pragma once

#include "FakeWebBrowser.h"
#include "TestSupport.h"

#include "controllers/ControllerMain.h"
#include "platform/TabControl.h"

#include <QToolButton>
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

