#include "editui/SuchenDlg.h"

#include "editui/Texts.h"
#include "ui/Texts.h"

#include "listfiles/FastStringFuncs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace xantu {

using namespace editui_texts;

namespace {

QString T(const char* text) {
    return QString::fromUtf8(text);
}

// The text field starts at a fixed place, so its label must fit in front of
// it, and the longer option in its box: a desktop font larger than the
// dialog was laid out for is stepped down until both fit.
QFont FittingFont(QFont f) {
    auto plain = [](const char* text) { return QString::fromUtf8(text).remove(QLatin1Char('&')); };
    const QString label = plain(kFindLabel), option = plain(kFullEqual);
    for (;;) {
        const QFontMetrics fm(f);
        const bool fits = fm.horizontalAdvance(label) <= 70 && fm.horizontalAdvance(option) + 24 <= 338;
        if (fits || f.pointSizeF() <= 6.0)
            return f;
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() - 0.5);
        else
            f.setPixelSize(f.pixelSize() - 1);
    }
}

} // namespace

TSuchenDlg::TSuchenDlg(TDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("SuchenDlg"));
    setWindowTitle(T(kSearchTitle));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(369, 252);
    setFont(FittingFont(font()));

    CBTarget = new QGroupBox(T(kSearchIn), this);
    CBTarget->setObjectName(QStringLiteral("CBTarget"));
    CBTarget->setGeometry(8, 8, 353, 92);
    targets_ = new QButtonGroup(this);
    const char* items[3] = {kTargetNames, kTargetServiceId, kTargetOnId};
    for (int i = 0; i < 3; ++i) {
        CBTargetItem[i] = new QRadioButton(T(items[i]), CBTarget);
        CBTargetItem[i]->setGeometry(12, 20 + i * 22, 320, 20);
        targets_->addButton(CBTargetItem[i], i);
    }
    connect(targets_, &QButtonGroup::idClicked, this, &TSuchenDlg::CBTargetClick);

    Label1 = new QLabel(T(kFindLabel), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 112, 70, 21);
    LHexInfo = new QLabel(T(kHexPrefix), this);
    LHexInfo->setObjectName(QStringLiteral("LHexInfo"));
    QFont bold = LHexInfo->font();
    bold.setBold(true);
    LHexInfo->setFont(bold);
    LHexInfo->setGeometry(81, 112, 16, 21);
    EText = new QLineEdit(this);
    EText->setObjectName(QStringLiteral("EText"));
    Label1->setBuddy(EText);

    GroupBoxOptionen = new QGroupBox(T(kOptions), this);
    GroupBoxOptionen->setObjectName(QStringLiteral("GroupBoxOptionen"));
    GroupBoxOptionen->setGeometry(8, 142, 353, 66);
    CBCase = new QCheckBox(T(kMatchCase), GroupBoxOptionen);
    CBCase->setObjectName(QStringLiteral("CBCase"));
    CBCase->setGeometry(12, 18, 330, 20);
    CBFullEqual = new QCheckBox(T(kFullEqual), GroupBoxOptionen);
    CBFullEqual->setObjectName(QStringLiteral("CBFullEqual"));
    CBFullEqual->setGeometry(12, 40, 338, 20);

    BttnOk = new QPushButton(T(ui_texts::kOk), this);
    BttnOk->setObjectName(QStringLiteral("BttnOk"));
    BttnOk->setGeometry(196, 218, 75, 25);
    BttnOk->setDefault(true);
    BttnAbbr = new QPushButton(T(ui_texts::kCancel), this);
    BttnAbbr->setObjectName(QStringLiteral("BttnAbbr"));
    BttnAbbr->setGeometry(286, 218, 75, 25);
    connect(BttnOk, &QPushButton::clicked, this, &TSuchenDlg::BttnOkClick);
    connect(BttnAbbr, &QPushButton::clicked, this, &QDialog::reject);

    CBTargetItem[0]->setChecked(true);
    CBTargetClick(0);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

int TSuchenDlg::Target() const {
    const int id = targets_->checkedId();
    return id < 0 ? 0 : id;
}

void TSuchenDlg::CBTargetClick(int index) {
    if (index == SearchNames) {
        EText->setMaxLength(32767);
        EText->setGeometry(81, 112, 272, 21);
        LHexInfo->hide();
        HexValue = 0;
        CBCase->setEnabled(true);
        CBFullEqual->setEnabled(true);
    } else {
        EText->setMaxLength(4);
        EText->setGeometry(97, 112, 40, 21);
        LHexInfo->show();
        CBCase->setEnabled(false);
        CBFullEqual->setEnabled(false);
    }
    EText->clear();
    if (isVisible())
        EText->setFocus();
}

void TSuchenDlg::SetSearchData(const TSearchData& data) {
    const int target = data.SearchTarget <= SearchOnId ? int(data.SearchTarget) : int(SearchNames);
    CBTargetItem[target]->setChecked(true);
    CBTargetClick(target);
    EText->setText(QString::fromUtf8(data.SearchText));
    HexValue = data.SearchValue;
    CBCase->setChecked(data.CaseSensitive);
    CBFullEqual->setChecked(data.FullMatch);
}

void TSuchenDlg::GetSearchData(TSearchData& data) const {
    data.SearchText = EText->text().toStdString();
    data.SearchValue = HexValue;
    data.SearchTarget = static_cast<uint8_t>(Target());
    data.CaseSensitive = CBCase->isChecked();
    data.FullMatch = CBFullEqual->isChecked();
}

void TSuchenDlg::BttnOkClick() {
    auto refocus = [this] {
        if (isVisible())
            EText->setFocus();
    };
    const QString text = EText->text();
    if (text.isEmpty()) {
        dialogs_.MessageOk(this, TMsgKind::Confirmation, T(kEmptySearch));
        refocus();
        return;
    }
    if (Target() != SearchNames) {
        bool ok = true;
        uint64_t value = 0;
        try {
            value = ParseHex(text.toStdString());
        } catch (const std::exception&) {
            ok = false;
        }
        if (!ok) {
            dialogs_.Message(this, TMsgKind::Error, T(kNotHex));
            refocus();
            return;
        }
        HexValue = static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    accept();
}

} // namespace xantu
