#include "browser/WebEngineSetup.h"
#include "controllers/ControllerMain.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QPointer>

namespace {

// The controller, from its construction until it is freed at exit.
TCMain* Main = nullptr;

void RestoreAndRaise(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

// The application destroys the windows left when the controller is gone.
void DestroyForms()
{
    QList<QPointer<QWidget>> forms;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget())
            forms.append(widget);
    }
    for (const QPointer<QWidget>& form : forms)
        delete form.data();
}

} // namespace

int main(int argc, char* argv[])
{
    PrepareWebEngine();
    TApplication application(argc, argv);
    TTerminationSignals terminationSignals;

    TSingleInstance instance(QCoreApplication::applicationFilePath());
    if (!instance.IsFirst()) {
        instance.ActivateFirst();
        return 0;
    }

    SetApplicationTitle(QStringLiteral("Orvanta"));
    try {
        Main = new TCMain();
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
        DestroyForms();
        return 1;
    }
    TfrmMain* mainForm = Main->MainForm;
    QObject::connect(&instance, &TSingleInstance::ActivationRequested, mainForm,
                     [mainForm] { RestoreAndRaise(mainForm); });
    // An open dialog or About box is asked to close first, then the main window; the loop ends
    // even when one of them refuses, so that the settings are written all the same.
    QObject::connect(&terminationSignals, &TTerminationSignals::Received, &application, [mainForm] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != mainForm && window->isVisible())
                window->close();
        }
        mainForm->close();
        QCoreApplication::exit(0);
    });

    mainForm->show();
    terminationSignals.Start();
    application.exec();

    delete Main;
    Main = nullptr;
    DestroyForms();
    return 0;
}
