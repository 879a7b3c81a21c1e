#include "browser/WebEngineSetup.h"
#include "browser/WebPage.h"
#include "controllers/ControllerMain.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QPointer>

namespace {

// The controller, from its construction until it is freed at exit.
TCMain* Main = nullptr;

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
    PrepareWebEngine(argc, argv);
    TApplication application(argc, argv);
    TTerminationSignals terminationSignals;

    TSingleInstance instance(QCoreApplication::applicationFilePath());
    if (!instance.IsFirst()) {
        instance.ActivateFirst();
        return 0;
    }

    // A termination request closes an open message box, dialog or About box first, then the main
    // window, and ends the loop even when one of them refuses; one that comes while the
    // program starts lets it finish starting and leave without showing its window. Either
    // way the settings are written as with Exit.
    bool terminating = false;
    QObject::connect(&terminationSignals, &TTerminationSignals::Received, &application, [&terminating] {
        terminating = true;
        QWidget* mainForm = Main ? Main->MainForm : nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != mainForm && window->isVisible())
                window->close();
        }
        if (mainForm)
            mainForm->close();
        QCoreApplication::exit(0);
    });
    terminationSignals.Start();

    SetApplicationTitle(QStringLiteral("Orvanta"));
    // The launcher: the desktop names the window and its notifications after it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quenbrook.Orvanta"));
    try {
        Main = new TCMain();
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
        DestroyForms();
        ReleaseProfiles();
        return 1;
    }
    TfrmMain* mainForm = Main->MainForm;
    QObject::connect(&instance, &TSingleInstance::ActivationRequested, mainForm,
                     [mainForm] { mainForm->ShowRestored(); });
    if (!terminating) {
        mainForm->show();
        application.exec();
    }

    delete Main;
    Main = nullptr;
    DestroyForms();
    ReleaseProfiles();
    return 0;
}
