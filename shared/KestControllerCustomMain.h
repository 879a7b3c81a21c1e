#pragma once

#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QObject>
#include <memory>

// A reusable base controller: it creates the main window, names it after the application,
// creates the settings store on first request and keeps the window's placement in it.
// The application, not the controller, owns and destroys the main window.
template <class TMainForm, class TStore>
class TCCustomMain : public QObject
{
public:
    TCCustomMain() : MainForm(new TMainForm)
    {
        SetApplicationMainForm(MainForm);
        MainForm->setWindowTitle(ApplicationTitle());
        Registry()->ReadFormPlacement(MainForm);
    }

    // Nothing is left to report a failed placement to: it is shown here.
    ~TCCustomMain() override
    {
        try {
            Registry()->WriteFormPlacement(MainForm);
        } catch (const std::exception& error) {
            ShowError(QString::fromStdString(error.what()));
        }
    }

    TStore* Registry()
    {
        if (!FRegistry)
            FRegistry = std::make_unique<TStore>();
        return FRegistry.get();
    }

private:
    std::unique_ptr<TStore> FRegistry;

public:
    TMainForm* const MainForm;
};
