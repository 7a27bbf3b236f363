#include "mainwindow/MainBox.h"

#include "mainwindow/Main.h"

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
        a->setEnabled(!running);
    main_.SetListsLocked(running);
}

unsigned TMainBox::EditCount() const {
    return main_.EditCount();
}

// ---- the window's commands --------------------------------------------------

void TMain::MenuLoadBouquetFTPClick() {
    box_->Transfer.LoadFromBox(boxSettings_);
}

void TMain::MenuSaveBouquetFTPClick() {
    box_->Transfer.SendToBox(boxSettings_);
}

void TMain::Basiseinstellungen1Click() {
    if (OnBasicSettings) {
        OnBasicSettings();
        return;
    }
    TBoxSettings values = boxSettings_;
    if (TBasicSettings::Run(this, dialogs_, values, box_->SettingsExec))
        SetBoxSettings(values);
}

} // namespace xantu
