#include "mainwindow/SatPosList.h"

#include "core/ListDocument.h"
#include "mainwindow/Texts.h"
#include "text/ListText.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace xantu {

TSatPosList::TSatPosList(const std::vector<std::string>& satPositions, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SatPosList"));
    setWindowTitle(QString::fromUtf8(mainwindow_texts::kSatPosTitle));
    setFixedSize(374, 442);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);

    auto* label1 = new QLabel(QString::fromUtf8(mainwindow_texts::kSatPosInfo), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setTextFormat(Qt::PlainText);
    label1->setWordWrap(true);
    label1->setFixedWidth(355);
    label1->setMinimumHeight(52);
    QPalette pal = label1->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label1->setPalette(pal);
    layout->addWidget(label1);

    LV = new QTreeWidget(this);
    LV->setObjectName(QStringLiteral("LV"));
    LV->setRootIsDecorated(false);
    LV->setColumnCount(2);
    LV->setHeaderLabels({QString::fromUtf8(mainwindow_texts::kSatPosSatellite),
                         QString::fromUtf8(mainwindow_texts::kSatPosPosition)});
    LV->setColumnWidth(0, 250);
    LV->setColumnWidth(1, 80);
    LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV->setSortingEnabled(false);
    LV->header()->setSectionsClickable(false);
    LV->setStyleSheet(QStringLiteral("QTreeView::item { border-bottom: 1px solid palette(mid); "
                                     "border-right: 1px solid palette(mid); }"));
    LV->setFixedSize(361, 337);
    for (const std::string& line : satPositions) {
        std::string name;
        std::string position;
        SplitSatPosition(line, name, position);
        auto* item = new QTreeWidgetItem(LV);
        item->setText(0, QString::fromStdString(DisplayText(name)));
        item->setText(1, QString::fromStdString(DisplayText(position)));
    }
    layout->addWidget(LV, 0, Qt::AlignHCenter);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                              QString::fromUtf8(mainwindow_texts::kClose), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace xantu
