// The main window's side of the box connection: it answers the transfer's
// questions, keeps the backups and runs the settings dialog.
#pragma once

#include "backups/Backups.h"
#include "box/BasicSettings.h"
#include "net/BoxTransfer.h"

namespace xantu {

class TMain;

class TMainBox : public TBoxUi {
  public:
    explicit TMainBox(TMain& main);

    bool Modified() const override;
    bool Confirm(const std::string& text) override;
    void ClearView() override;
    void TransferRunning(bool running) override;
    unsigned EditCount() const override;

    TBackupStore Backups;
    TBoxTransfer Transfer;
    // Replaces the modal run of the settings dialog (tests).
    TBasicSettings::TExec SettingsExec;

  private:
    TMain& main_;
};

} // namespace xantu
