// The setup dialog, opened on the page the clicked item names, and its changes applied.
#include "controllers/ControllerMain.h"

#include "controllers/Schedule.h"
#include "controllers/SiteListFile.h"
#include "platform/RadioGroup.h"
#include "platform/SpinEdit.h"
#include "shared/LibCommaText.h"
#include "views/ViewSetup.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSysInfo>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// Every column's header says what it takes; an entry that can't be read is marked.
void ExplainSiteColumns(TfrmSetup& dialog)
{
    const auto seconds = [](const QString& entry) { return entry.isEmpty() || !SiteSecondsEntry(entry).isEmpty(); };
    dialog.SetColumnRule(TfrmSetup::TitleColumn, {QStringLiteral("The site's name on its tab"), {}, {}});
    dialog.SetColumnRule(TfrmSetup::AddressColumn,
                         {QStringLiteral("The address the site opens at, such as https://example.org/"), {}, {}});
    dialog.SetColumnRule(TfrmSetup::CycleColumn,
                         {QStringLiteral("Seconds the site is shown when cycling; empty: the interval of the options; 0: skipped"),
                          seconds, QStringLiteral("Give a whole number of seconds, 0, or nothing for the interval of the options."), true});
    dialog.SetColumnRule(TfrmSetup::RefreshColumn,
                         {QStringLiteral("Seconds between automatic reloads; empty: the interval of the options; 0: never"),
                          seconds, QStringLiteral("Give a whole number of seconds, 0, or nothing for the interval of the options."), true});
    dialog.SetColumnRule(TfrmSetup::ScheduleColumn,
                         {TSchedule::Format, [](const QString& entry) { return TSchedule::Parse(entry).has_value(); },
                          QStringLiteral("This schedule can't be read: the site counts as always scheduled.")});
    dialog.SetColumnRule(TfrmSetup::ProfileColumn,
                         {QStringLiteral("A name of your choice: sites with the same one share cookies and sign-ins; "
                                         "empty: the store every site shares"),
                          {}, {}});
    dialog.SetColumnRule(TfrmSetup::StyleColumn,
                         {QStringLiteral("CSS put on the page after every load, such as header { display: none }, or the "
                                         "path of a .css file; empty: none"),
                          [](const QString& entry) { return StyleSheetOf(entry).has_value(); },
                          QStringLiteral("This file can't be read: no style is put on the page.")});
    dialog.SetColumnRule(TfrmSetup::ScrollColumn,
                         {QStringLiteral("Seconds one pass down a long page takes as it scrolls by itself; empty or 0: it stays"),
                          seconds, QStringLiteral("Give a whole number of seconds, or nothing for a page that stays."), true});
    QStringList screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->name());
    dialog.SetColumnRule(TfrmSetup::ScreenColumn,
                         {QStringLiteral("The screen a window of the site's own fills, by name or number from 1 (here: %1); "
                                         "empty: the main window")
                              .arg(screens.join(QStringLiteral(", "))),
                          [](const QString& entry) { return entry.isEmpty() || TScreenWindows::ScreenOf(entry); },
                          QStringLiteral("No such screen is connected: the site is in the main window until it is.")});
    screens.prepend(QString());
    dialog.SetColumnChoices(TfrmSetup::ScreenColumn, screens);
}

} // namespace

// Changes to the site list or the view mode make the pages be built anew.
QString TCMain::ChangeSignature()
{
    TCRegistry* settings = Registry();
    return ToCommaText(settings->Urls) + ToCommaText(settings->Titles) + ToCommaText(settings->Profiles)
           + QString::number(settings->ViewMode);
}

void TCMain::SetupClick(QObject* sender)
{
    Timer->stop();
    for (int pass = 0; pass < 2; ++pass) {
        AllSitesClick(MainForm->AllSitesStoploadingMenuItem);
        ProcessMessages();
    }
    TCRegistry* settings = Registry();
    TfrmSetup dialog;
    try {
        settings->ReadFormPlacement(&dialog);
        if (sender == MainForm->SetupSitesMenuItem)
            dialog.PageControl1->setCurrentWidget(dialog.TabSheet1);
        else if (sender == MainForm->SetupOptionsMenuItem)
            dialog.PageControl1->setCurrentWidget(dialog.TabSheet2);
        else if (sender == MainForm->SetupRemoteMenuItem)
            dialog.PageControl1->setCurrentWidget(dialog.TabSheet3);
        dialog.sgSites->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Address (url)"),
                                                   QStringLiteral("Cycle"), QStringLiteral("Refresh"),
                                                   QStringLiteral("Schedule"), QStringLiteral("Profile"), QStringLiteral("Style"),
                                                   QStringLiteral("Scroll"), QStringLiteral("Screen")});
        ExplainSiteColumns(dialog);
        dialog.SetSitesLocked(settings->SitesLocked());
        QObject::connect(dialog.btnExport, &QPushButton::clicked, &dialog, [&dialog] { TSiteListFile::Export(dialog); });
        QObject::connect(dialog.btnImport, &QPushButton::clicked, &dialog, [&dialog] { TSiteListFile::Import(dialog); });
        dialog.SetDisplayLocked(settings->SettingsLocked());
        dialog.rgViewmode->SetItemIndex(settings->ViewMode);
        dialog.rgProgressbar->SetItemIndex(settings->ProgressBar);
        dialog.rgAddressBar->SetItemIndex(settings->AddressBar);
        dialog.cbHintProgressbar->setChecked(settings->HintProgressBar);
        dialog.cbHintBrowserselection->setChecked(settings->HintBrowserSelection);
        dialog.cbTimerRefresh->setChecked(settings->TimerRefreshEnabled);
        dialog.cbTimerCycle->setChecked(settings->TimerCycleEnabled);
        dialog.edtTimerRefresh->SetValue(settings->TimerRefreshInterval);
        dialog.edtTimerCycle->SetValue(settings->TimerCycleInterval);
        dialog.edtTimerCyclePause->SetValue(settings->TimerCyclePause);
        dialog.sgSites->setRowCount(settings->SiteCount());
        for (int row = 0; row < settings->SiteCount(); ++row) {
            dialog.SetSite(row, {settings->Titles.at(row), settings->Urls.value(row), settings->CycleTimes.value(row),
                                 settings->RefreshTimes.value(row), settings->Zooms.value(row),
                                 settings->Schedules.value(row), settings->Profiles.value(row), settings->Styles.value(row), settings->Scrolls.value(row),
                                 settings->Screens.value(row)});
        }
        dialog.sgSites->setCurrentCell(0, 0);
        const QString before = ChangeSignature();
#ifdef ORVANTA_HAS_MQTT
        ShowMqtt(dialog);
#else
        dialog.PageControl1->removeTab(dialog.PageControl1->indexOf(dialog.TabSheet3));
#endif

        if (dialog.exec() == QDialog::Accepted) {
            // What the administrator locked is shown, never taken back.
            if (!settings->SettingsLocked()) {
                settings->ViewMode = dialog.rgViewmode->ItemIndex();
                settings->ProgressBar = dialog.rgProgressbar->ItemIndex();
                settings->AddressBar = dialog.rgAddressBar->ItemIndex();
                settings->HintProgressBar = dialog.cbHintProgressbar->isChecked();
                settings->HintBrowserSelection = dialog.cbHintBrowserselection->isChecked();
                settings->TimerRefreshEnabled = dialog.cbTimerRefresh->isChecked();
                settings->TimerCycleEnabled = dialog.cbTimerCycle->isChecked();
                settings->TimerRefreshInterval = dialog.edtTimerRefresh->Value();
                settings->TimerCycleInterval = dialog.edtTimerCycle->Value();
                settings->TimerCyclePause = dialog.edtTimerCyclePause->Value();
            }
            if (!settings->SitesLocked()) {
                for (QStringList* list : settings->SiteValues())
                    list->clear();
                for (int row = 0; row < dialog.sgSites->rowCount(); ++row) {
                    const TSiteRow site = dialog.Site(row);
                    settings->Titles.append(site.Title);
                    settings->Urls.append(site.Address);
                    settings->CycleTimes.append(SiteSecondsEntry(site.CycleTime));
                    settings->RefreshTimes.append(SiteSecondsEntry(site.RefreshTime));
                    settings->Zooms.append(site.Zoom);
                    settings->Schedules.append(site.Schedule);
                    settings->Profiles.append(site.Profile);
                    settings->Styles.append(site.Style);
                    settings->Scrolls.append(SiteSecondsEntry(site.Scroll));
                    settings->Screens.append(site.Screen);
                }
            }
#ifdef ORVANTA_HAS_MQTT
            TakeMqtt(dialog);
#endif
            ApplyLayout();
            if (ChangeSignature() != before) {
                BuildPages();
            } else {
                ScreenWindows.SetEntries(settings->Screens);
                ApplySiteLooks();
                EnableTimerByRule();
            }
        } else {
            // An automation the user had on keeps running after the dialog is dismissed.
            EnableTimerByRule();
        }
    } catch (...) {
        settings->WriteFormPlacement(&dialog);
        throw;
    }
    settings->WriteFormPlacement(&dialog);
}


#ifdef ORVANTA_HAS_MQTT
// The Remote page: the broker's settings, and where the connection stands.
void TCMain::ShowMqtt(TfrmSetup& dialog)
{
    const TMqttSettings& mqtt = Registry()->Mqtt;
    dialog.SetRemoteLocked(Registry()->MqttLocked());
    dialog.edtMqttBroker->setText(mqtt.Broker);
    dialog.edtMqttUser->setText(mqtt.User);
    dialog.edtMqttPassword->setPlaceholderText(!mqtt.PasswordFile.isEmpty()
                                                   ? QStringLiteral("from %1").arg(mqtt.PasswordFile)
                                                   : QStringLiteral("kept in the keyring; empty: as it is"));
    dialog.edtMqttName->setText(mqtt.Name);
    dialog.edtMqttName->setPlaceholderText(TMqttRemote::NameFrom(QSysInfo::machineHostName()));
    dialog.edtMqttGroups->setText(ToCommaText(mqtt.Groups));
    dialog.edtMqttDiscovery->setText(mqtt.Discovery);
    dialog.edtMqttCaFile->setText(mqtt.CaFile);
    dialog.lblMqttStatus->setText(Mqtt ? Mqtt->Status() : QStringLiteral("MQTT is off."));
}

void TCMain::TakeMqtt(TfrmSetup& dialog)
{
    if (Registry()->MqttLocked())
        return;
    TMqttSettings& mqtt = Registry()->Mqtt;
    const TMqttSettings before = mqtt;
    mqtt.Broker = dialog.edtMqttBroker->text().trimmed();
    mqtt.User = dialog.edtMqttUser->text();
    mqtt.Name = dialog.edtMqttName->text().trimmed();
    mqtt.Groups = FromCommaText(dialog.edtMqttGroups->text());
    mqtt.Discovery = dialog.edtMqttDiscovery->text().trimmed();
    mqtt.CaFile = dialog.edtMqttCaFile->text().trimmed();
    const QString password = dialog.edtMqttPassword->text();
    if (mqtt != before || !password.isEmpty())
        StartMqtt(password);
}
#endif
