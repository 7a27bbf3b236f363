// The list of known satellite positions (satpositionen.xml), read only.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QTreeWidget;
class QPushButton;

namespace xantu {

class TSatPosList : public QDialog {
    Q_OBJECT
  public:
    TSatPosList(const std::vector<std::string>& satPositions, QWidget* parent = nullptr);
    QTreeWidget* LV = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

} // namespace xantu
