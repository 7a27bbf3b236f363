// The search dialog: what to search (names, service id, network id), the
// text, and the two options for names.
#pragma once

#include "edit/Search.h"
#include "ui/Dialogs.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace xantu {

class TSuchenDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TSuchenDlg(TDialogs& dialogs, QWidget* parent = nullptr);

    void SetSearchData(const TSearchData& data);
    void GetSearchData(TSearchData& data) const;

    QGroupBox* CBTarget = nullptr;
    QRadioButton* CBTargetItem[3] = {};
    QLabel* Label1 = nullptr;
    QLabel* LHexInfo = nullptr;
    QLineEdit* EText = nullptr;
    QGroupBox* GroupBoxOptionen = nullptr;
    QCheckBox* CBCase = nullptr;
    QCheckBox* CBFullEqual = nullptr;
    QPushButton* BttnOk = nullptr;
    QPushButton* BttnAbbr = nullptr;
    // The text read as hexadecimal (id targets).
    int32_t HexValue = 0;

    int Target() const;

  public slots:
    void CBTargetClick(int index);
    void BttnOkClick();

  private:
    TDialogs& dialogs_;
    QButtonGroup* targets_ = nullptr;
};

} // namespace xantu
