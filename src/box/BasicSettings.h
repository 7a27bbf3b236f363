// "BasisEinstellungen": how the editor reaches the box (address, FTP user,
// password, list directory), whether loading reports channels without a
// service, whether the data connections are passive, and a button that pings
// the typed address.
#pragma once

#include "net/BoxSettings.h"
#include "net/Ping.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace xantu {

class TDialogs;

class TBasicSettings : public QDialog {
    Q_OBJECT
  public:
    explicit TBasicSettings(TDialogs& dialogs, const TEchoBackendFactory& echo = DefaultEchoBackendFactory(),
                            QWidget* parent = nullptr);

    void SetValues(const TBoxSettings& values);
    // The texts exactly as they stand and the check box.
    TBoxSettings Values() const;

    // Shows the dialog modally with `values`; on OK copies the edited
    // values back and answers true, otherwise leaves them alone. `exec`
    // replaces the modal run (tests).
    using TExec = std::function<int(TBasicSettings&)>;
    static bool Run(QWidget* parent, TDialogs& dialogs, TBoxSettings& values, const TExec& exec = {},
                    const TEchoBackendFactory& echo = DefaultEchoBackendFactory());

    QLineEdit* EBoxIP;
    QLineEdit* EBoxUser;
    QLineEdit* EBoxPass;
    QComboBox* EBoxBouqDir;
    QPushButton* BttnPing;
    QPushButton* BttnAbbr;
    QPushButton* BttnOk;
    QCheckBox* CBInfoChwoSrv;
    QCheckBox* CBPassive;
    TPing* Ping;

    // Refused while a ping runs.
    void done(int result) override;

  public slots:
    void BttnPingClick();

  private:
    void PingDnsLookupDone(quint16 error);
    void PingEchoReply(int replies);
    void RestorePingButton();

    TDialogs& dialogs_;
};

} // namespace xantu
