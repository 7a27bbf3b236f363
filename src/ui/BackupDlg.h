// "Sicherung öffnen": the kept copies of the list pair, newest first, one
// row each with its time, kind and counts. The user picks one to open.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class QTreeWidget;

namespace xantu {

// One backup as a row of the dialog, texts ready to show.
struct TBackupRow {
    QString When;     // "08.12.2026 21:05:40"
    QString Kind;     // what made the copy, in words
    QString Bouquets; // count, or "-" when the file is missing
    QString Services;
};

class TBackupDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TBackupDlg(const QList<TBackupRow>& rows, QWidget* parent = nullptr);

    // Index of the selected row, -1 when none.
    int Chosen() const;

    QTreeWidget* List;
    QPushButton* BttnOpen;
    QPushButton* BttnCancel;
};

} // namespace xantu
