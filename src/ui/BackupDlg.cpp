#include "ui/BackupDlg.h"

#include "ui/Texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace xantu {

using namespace ui_texts;

TBackupDlg::TBackupDlg(const QList<TBackupRow>& rows, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBackupDlg"));
    setWindowTitle(QString::fromUtf8(kBackupTitle));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QString::fromUtf8(kBackupHint), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    List = new QTreeWidget(this);
    List->setObjectName(QStringLiteral("List"));
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setHeaderLabels({QString::fromUtf8(kBackupWhen), QString::fromUtf8(kBackupKind),
                           QString::fromUtf8(kBackupBouquets), QString::fromUtf8(kBackupServices)});
    for (const TBackupRow& r : rows) {
        auto* item = new QTreeWidgetItem(List, {r.When, r.Kind, r.Bouquets, r.Services});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 0; c < 4; ++c)
        List->resizeColumnToContents(c);
    List->header()->setStretchLastSection(false);
    List->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(List);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BttnOpen = new QPushButton(QString::fromUtf8(kBackupOpen), this);
    BttnOpen->setObjectName(QStringLiteral("BttnOpen"));
    BttnOpen->setDefault(true);
    BttnCancel = new QPushButton(QString::fromUtf8(kCancel), this);
    BttnCancel->setObjectName(QStringLiteral("BttnCancel"));
    buttons->addWidget(BttnOpen);
    buttons->addWidget(BttnCancel);
    layout->addLayout(buttons);

    connect(BttnOpen, &QPushButton::clicked, this, &QDialog::accept);
    connect(BttnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(List, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    const auto sync = [this] { BttnOpen->setEnabled(Chosen() >= 0); };
    connect(List, &QTreeWidget::itemSelectionChanged, this, sync);
    if (List->topLevelItemCount() > 0)
        List->setCurrentItem(List->topLevelItem(0));
    sync();
    resize(560, 360);
}

int TBackupDlg::Chosen() const {
    const QList<QTreeWidgetItem*> sel = List->selectedItems();
    return sel.isEmpty() ? -1 : List->indexOfTopLevelItem(sel.first());
}

} // namespace xantu
