#include "about/AboutBox.h"

#include "about/Texts.h"
#include "about/VersionInfo.h"
#include "model/XantuModel.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace xantu {

using namespace about_texts;

TAboutBox::TAboutBox(QWidget* parent, const QString& versionFile) : QDialog(parent) {
    // Read first: a block that cannot be read stops the box before anything
    // else is built.
    VersionInfo = new TVersionInfo(versionFile, this);

    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    outer->addWidget(panel, 1);

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(1);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        ProgramIcon->setPixmap(icon.pixmap(32, 32));
    grid->addWidget(ProgramIcon, 0, 0, 4, 1, Qt::AlignTop);

    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
    int row = 0;
    auto addRow = [&](const QString& caption, const QString& name) {
        auto* label = new QLabel(caption, panel);
        auto* value = new QLabel(panel);
        value->setObjectName(name);
        value->setPalette(navy);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, row, 1);
        grid->addWidget(value, row, 2);
        ++row;
        return value;
    };
    LProgrammName = addRow(QString::fromUtf8(kProgram), QStringLiteral("LProgrammName"));
    LVersion = addRow(QString::fromUtf8(kVersion), QStringLiteral("LVersion"));
    LCopyrigth = addRow(QString::fromUtf8(kCopyright), QStringLiteral("LCopyrigth"));
    LMailTo = addRow(QString::fromUtf8(kMailTo), QStringLiteral("LMailTo"));
    grid->setColumnStretch(2, 1);

    LProgrammName->setText(QGuiApplication::applicationDisplayName());
    LMailTo->setText(QString::fromLatin1(MailTo));
    VersionInfo->SetLink(TVersionInfo::CtlFileVersion, LVersion);
    VersionInfo->SetLink(TVersionInfo::CtlLegalCopyRight, LCopyrigth);

    BttnOk = new QPushButton(QString::fromUtf8(ui_texts::kOk), this);
    BttnOk->setObjectName(QStringLiteral("BttnOk"));
    BttnOk->setDefault(true);
    BttnOk->setAutoDefault(true);
    connect(BttnOk, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(BttnOk, 0, Qt::AlignHCenter);

    // 306 by 133 as designed, grown only where the fonts need more.
    const QSize hint = sizeHint().expandedTo(QSize(306, 133));
    setFixedSize(hint);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

int TAboutBox::Execute(QWidget* parent, TDialogs& dialogs, const QString& versionFile) {
    try {
        TAboutBox box(parent, versionFile);
        return box.exec();
    } catch (const std::exception& e) {
        dialogs.Message(parent, TMsgKind::Error, QString::fromStdString(e.what()));
        return QDialog::Rejected;
    }
}

} // namespace xantu
