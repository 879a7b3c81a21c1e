#pragma once

#include "browser/WebEngineBrowser.h"
#include "controllers/ControllerMain.h"

#include <memory>

// The controller with the real web engine; the test stands in for the application and frees
// the window.
class TEngineMain
{
public:
    TEngineMain() : FMain(std::make_unique<TCMain>()) {}
    ~TEngineMain()
    {
        TfrmMain* form = FMain->MainForm;
        FMain.reset();
        delete form;
    }
    TCMain* operator->() const { return FMain.get(); }
    TCMain* get() const { return FMain.get(); }
    TWebEngineBrowser* Page(int i) const { return static_cast<TWebEngineBrowser*>(FMain->Browser(i)); }

private:
    std::unique_ptr<TCMain> FMain;
};
