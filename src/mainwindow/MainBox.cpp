#include "mainwindow/MainBox.h"

#include "mainwindow/Main.h"
#include "net/Texts.h"

#include <QAction>

namespace xantu {

TMainBox::TMainBox(TMain& main) : Transfer(main.Doc(), *this, &Backups), main_(main) {}

bool TMainBox::Modified() const {
    return main_.Modified();
}

bool TMainBox::Confirm(const std::string& text) {
    return main_.Dialogs().Confirm(&main_, QString::fromUtf8(text));
}

void TMainBox::ClearView() {
    main_.ClearView();
}

void TMainBox::TransferRunning(bool running) {
    // While the window's events keep flowing during a transfer, nothing may
    // start a second transfer or replace the lists under it.
    for (QAction* a : {main_.MenuLoadBouquetFTP, main_.MenuSaveBouquetFTP, main_.MenuOpen, main_.MenuSaveAs,
                       main_.MenuOpenBackup, main_.BttnLoadBouquet, main_.BttnTransferBouquet,
                       main_.BttnOpenBouquet, main_.BttnSaveAs})
        if (a)
            a->setEnabled(!running);
    main_.SetListsLocked(running);
}

unsigned TMainBox::EditCount() const {
    return main_.EditCount();
}

void TMainBox::ListsLoaded() {
    onBox_ = TakeSnapshot(main_.Doc().VTB);
}

bool TMainBox::ConfirmSend() {
    sending_ = TakeSnapshot(main_.Doc().VTB);
    return Confirm(std::string(net_texts::kAskSend) + "\r" +
                   ChangeSummaryLine(CompareSnapshots(onBox_, sending_)));
}

void TMainBox::ListsSent() {
    onBox_ = std::move(sending_);
    sending_ = {};
}

TBoxSettings TMainBox::Settings() const {
    TBoxSettings s;
    s.BoxIP = main_.BoxIP;
    s.BoxUser = main_.BoxUser;
    s.BoxPass = main_.BoxPass;
    s.BoxBouqDir = main_.BoxBouqDir;
    s.Info_ChannelWithoutService = main_.Doc().Info_ChannelWithoutService;
    s.BoxPassive = main_.BoxPassive;
    return s;
}

// ---- the window's commands --------------------------------------------------

void TMain::MenuLoadBouquetFTPClick() {
    box_->Transfer.LoadFromBox(box_->Settings());
}

void TMain::MenuSaveBouquetFTPClick() {
    box_->Transfer.SendToBox(box_->Settings());
}

void TMain::Basiseinstellungen1Click() {
    if (OnBasicSettings) {
        OnBasicSettings();
        return;
    }
    TBoxSettings values = box_->Settings();
    if (!TBasicSettings::Run(this, dialogs_, values, box_->SettingsExec))
        return;
    BoxIP = values.BoxIP;
    BoxUser = values.BoxUser;
    BoxPass = values.BoxPass;
    BoxBouqDir = values.BoxBouqDir;
    BoxPassive = values.BoxPassive;
    doc_.Info_ChannelWithoutService = values.Info_ChannelWithoutService;
}

} // namespace xantu
