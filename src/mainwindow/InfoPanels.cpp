#include "mainwindow/InfoPanels.h"

#include "mainwindow/Texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace xantu {

using namespace mainwindow_texts;

namespace {

QString T(const char* text) {
    return QString::fromUtf8(text);
}

// "0x" and upper-case hex digits, at least `digits` of them.
QString Hex(int32_t value, int digits) {
    return QStringLiteral("0x") + QString::number(static_cast<uint32_t>(value), 16)
                                      .toUpper()
                                      .rightJustified(digits, QLatin1Char('0'));
}

QString Shown(std::string_view bytes, TNameCharset charset) {
    return QString::fromStdString(NameForDisplay(bytes, charset));
}

QLabel* MakeHeading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLineEdit* MakeNameEdit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, Qt::red);
    e->setPalette(pal);
    return e;
}

QCheckBox* MakeLeftCheckBox(const QString& name, const QString& text, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    c->setLayoutDirection(Qt::RightToLeft); // caption left of the box
    return c;
}

} // namespace

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TInfoPanel::TInfoPanel(const QString& objectName, const QString& heading, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(6, 4, 6, 6);
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(2);
    grid_->setColumnMinimumWidth(0, 72);
    grid_->setColumnStretch(1, 1);
    heading_ = MakeHeading(heading, this);
    grid_->addWidget(heading_, 0, 0, 1, 2);
}

QLabel* TInfoPanel::AddRow(const QString& caption, const QString& valueName, QLabel** captionLabel) {
    auto* c = new QLabel(caption, this);
    c->setTextFormat(Qt::PlainText);
    auto* v = MakeHeading(QString(), this);
    v->setObjectName(valueName);
    v->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AddRowWidget(c, v);
    if (captionLabel)
        *captionLabel = c;
    return v;
}

void TInfoPanel::AddRowWidget(QWidget* captionWidget, QWidget* value) {
    const int row = grid_->rowCount();
    if (captionWidget)
        grid_->addWidget(captionWidget, row, 0);
    grid_->addWidget(value, row, captionWidget ? 1 : 0, 1, captionWidget ? 1 : 2);
}

TBouquetInfo::TBouquetInfo(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("BouquetRPanel"));
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(1, 1, 1, 1);
    col->setSpacing(2);

    BouquetInfoCaptionPanel = MakeHeading(T(kInfoHeading), this);
    BouquetInfoCaptionPanel->setObjectName(QStringLiteral("BouquetInfoCaptionPanel"));
    BouquetInfoCaptionPanel->setAlignment(Qt::AlignCenter);
    BouquetInfoCaptionPanel->setFrameShape(QFrame::StyledPanel);
    BouquetInfoCaptionPanel->setMinimumHeight(24);
    col->addWidget(BouquetInfoCaptionPanel);

    BouquetBInfoPanel = new TInfoPanel(QStringLiteral("BouquetBInfoPanel"), T(kBouquet), this);
    EBBouquetName = MakeNameEdit(QStringLiteral("EBBouquetName"), BouquetBInfoPanel);
    BouquetBInfoPanel->AddRowWidget(new QLabel(T(kName), BouquetBInfoPanel), EBBouquetName);
    EBBouquetHidden = MakeLeftCheckBox(QStringLiteral("EBBouquetHidden"), T(kHidden), BouquetBInfoPanel);
    EBBouquetLocked = MakeLeftCheckBox(QStringLiteral("EBBouquetLocked"), T(kLocked), BouquetBInfoPanel);
    auto* flags = new QWidget(BouquetBInfoPanel);
    auto* flagsRow = new QHBoxLayout(flags);
    flagsRow->setContentsMargins(0, 0, 0, 0);
    flagsRow->addWidget(EBBouquetHidden);
    flagsRow->addSpacing(12);
    flagsRow->addWidget(EBBouquetLocked);
    flagsRow->addStretch(1);
    BouquetBInfoPanel->AddRowWidget(nullptr, flags);
    col->addWidget(BouquetBInfoPanel);

    BouquetAInfoPanel = new QFrame(this);
    BouquetAInfoPanel->setObjectName(QStringLiteral("BouquetAInfoPanel"));
    BouquetAInfoPanel->setFrameShape(QFrame::StyledPanel);
    auto* aLayout = new QVBoxLayout(BouquetAInfoPanel);
    aLayout->setContentsMargins(6, 4, 6, 6);
    LAndereInfoText = new QLabel(T(kAndereInfo), BouquetAInfoPanel);
    LAndereInfoText->setObjectName(QStringLiteral("LAndereInfoText"));
    LAndereInfoText->setTextFormat(Qt::PlainText);
    LAndereInfoText->setWordWrap(true);
    aLayout->addWidget(LAndereInfoText);
    col->addWidget(BouquetAInfoPanel);

    BouquetCInfoPanel = new TInfoPanel(QStringLiteral("BouquetCInfoPanel"), T(kChannel), this);
    EBChannelName = MakeNameEdit(QStringLiteral("EBChannelName"), BouquetCInfoPanel);
    BouquetCInfoPanel->AddRowWidget(new QLabel(T(kName), BouquetCInfoPanel), EBChannelName);
    LBChannelOnID = BouquetCInfoPanel->AddRow(QStringLiteral("OnID"), QStringLiteral("LBChannelOnID"));
    LBChannelTsID = BouquetCInfoPanel->AddRow(QStringLiteral("TsID"), QStringLiteral("LBChannelTsID"));
    LBChannelServiceID =
        BouquetCInfoPanel->AddRow(QStringLiteral("ServiceID"), QStringLiteral("LBChannelServiceID"));
    Label15 = new TClickLabel(T(kSatPosition), BouquetCInfoPanel);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setCursor(Qt::PointingHandCursor);
    LBChannelSatPosition = MakeHeading(QString(), BouquetCInfoPanel);
    LBChannelSatPosition->setObjectName(QStringLiteral("LBChannelSatPosition"));
    BouquetCInfoPanel->AddRowWidget(Label15, LBChannelSatPosition);
    BttnGotoService = new QPushButton(T(kGotoService), BouquetCInfoPanel);
    BttnGotoService->setObjectName(QStringLiteral("BttnGotoService"));
    BouquetCInfoPanel->AddRowWidget(nullptr, BttnGotoService);
    col->addWidget(BouquetCInfoPanel);
    col->addStretch(1);

    BouquetAInfoPanel->hide();
    BouquetBInfoPanel->hide();
    BouquetCInfoPanel->hide();

    // Only what the user typed or clicked is reported, never what Show put in.
    connect(EBBouquetName, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (!filling_)
            emit BouquetNameEdited(typed);
    });
    connect(EBChannelName, &QLineEdit::textEdited, this, [this](const QString& typed) {
        if (!filling_)
            emit ChannelNameEdited(typed);
    });
    connect(EBBouquetHidden, &QCheckBox::clicked, this, &TBouquetInfo::HiddenClicked);
    connect(EBBouquetLocked, &QCheckBox::clicked, this, &TBouquetInfo::LockedClicked);
    connect(BttnGotoService, &QPushButton::clicked, this, &TBouquetInfo::GotoServiceClicked);
    connect(Label15, &TClickLabel::clicked, this, &TBouquetInfo::SatPositionClicked);
}

void TBouquetInfo::Show(const TBasicBNode& d, int boxType, TNameCharset charset, bool editable) {
    filling_ = true;
    BouquetCInfoPanel->setVisible(d.Kind == BKindChannel);
    BouquetAInfoPanel->setVisible(d.Reserved);
    BouquetBInfoPanel->setVisible(!d.Reserved && (d.Kind == BKindBouquet || d.Kind == BKindChannel));
    const TBouquet* bouquet = d.Kind == BKindBouquet                ? d.Bouquet.get()
                              : d.Kind == BKindChannel && d.Channel ? d.Channel->Bouquet
                                                                    : nullptr;
    if (bouquet) {
        EBBouquetName->setText(Shown(bouquet->Name, charset));
        EBBouquetName->setCursorPosition(0);
        EBBouquetHidden->setChecked(bouquet->Hidden);
        EBBouquetLocked->setChecked(bouquet->Locked);
    }
    if (d.Kind == BKindChannel && d.Channel) {
        const TChannel& c = *d.Channel;
        EBChannelName->setText(Shown(c.Name, charset));
        EBChannelName->setCursorPosition(0);
        EBChannelName->setEnabled(!d.Reserved && editable);
        LBChannelOnID->setText(Hex(c.Onid, 4));
        LBChannelTsID->setText(Hex(c.Tsid, 4));
        LBChannelServiceID->setText(Hex(c.ServiceId, 4));
        const bool sat = boxType == BoxSat;
        Label15->setVisible(sat);
        LBChannelSatPosition->setVisible(sat);
        if (sat)
            LBChannelSatPosition->setText(Shown(c.SatPosition, charset));
    }
    filling_ = false;
}

void TBouquetInfo::ShowNothing() {
    BouquetAInfoPanel->setVisible(false);
    BouquetBInfoPanel->setVisible(false);
    BouquetCInfoPanel->setVisible(false);
}

void TBouquetInfo::SetEditable(bool editable) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{EBBouquetName, EBBouquetHidden, EBBouquetLocked, EBChannelName})
        w->setEnabled(editable);
}

void TBouquetInfo::ReplaceBouquetName(const QString& text) {
    filling_ = true;
    EBBouquetName->setText(text);
    filling_ = false;
}

QList<QLineEdit*> TBouquetInfo::NameFields() const {
    return {EBBouquetName, EBChannelName};
}

TServicesInfo::TServicesInfo(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ServicesRPanel"));
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(1, 1, 1, 1);
    col->setSpacing(2);

    auto* caption = new TInfoPanel(QStringLiteral("ServicesInfoCaptionPanel"), T(kInfoHeading), this);
    caption->Heading()->setAlignment(Qt::AlignCenter);
    ServicesInfoCaptionPanel = caption;
    LSrvGesamt = caption->AddRow(T(kServicesAll), QStringLiteral("LSrvGesamt"));
    LSrvTV = caption->AddRow(T(kServicesTV), QStringLiteral("LSrvTV"));
    LSrvRadio = caption->AddRow(T(kServicesRadio), QStringLiteral("LSrvRadio"));
    for (QLabel* l : {LSrvGesamt, LSrvTV, LSrvRadio})
        l->setText(QStringLiteral("0"));
    col->addWidget(caption);

    ServicesSatInfoPanel1 = new TInfoPanel(QStringLiteral("ServicesSatInfoPanel1"), T(kSatellite), this);
    LSSatName = ServicesSatInfoPanel1->AddRow(T(kName), QStringLiteral("LSSatName"));
    LSSatDisEqc = ServicesSatInfoPanel1->AddRow(QStringLiteral("DisEqc"), QStringLiteral("LSSatDisEqc"),
                                                &CaptionSatDisEqc);
    LSSatPosition = ServicesSatInfoPanel1->AddRow(QStringLiteral("Position"), QStringLiteral("LSSatPosition"),
                                                  &CaptionSatPosition);
    col->addWidget(ServicesSatInfoPanel1);

    ServicesSatInfoPanel2 = new TInfoPanel(QStringLiteral("ServicesSatInfoPanel2"), T(kTransponder), this);
    LSTrID = ServicesSatInfoPanel2->AddRow(QStringLiteral("ID"), QStringLiteral("LSTrID"));
    LSTrOnID = ServicesSatInfoPanel2->AddRow(QStringLiteral("OnID"), QStringLiteral("LSTrOnID"));
    LSTrFrequency =
        ServicesSatInfoPanel2->AddRow(QStringLiteral("Frequency"), QStringLiteral("LSTrFrequency"));
    LSTrInversion =
        ServicesSatInfoPanel2->AddRow(QStringLiteral("Inversion"), QStringLiteral("LSTrInversion"));
    LSTrSymbolrate =
        ServicesSatInfoPanel2->AddRow(QStringLiteral("Symbol_rate"), QStringLiteral("LSTrSymbolrate"));
    LSTrFec_inner =
        ServicesSatInfoPanel2->AddRow(QStringLiteral("Fec_inner"), QStringLiteral("LSTrFec_inner"));
    LSTrPolarization = ServicesSatInfoPanel2->AddRow(T(kPolarization), QStringLiteral("LSTrPolarization"),
                                                     &CaptionTrPolarization);
    col->addWidget(ServicesSatInfoPanel2);

    ServicesSatInfoPanel3 = new TInfoPanel(QStringLiteral("ServicesSatInfoPanel3"), T(kChannel), this);
    LSChName = ServicesSatInfoPanel3->AddRow(T(kName), QStringLiteral("LSChName"));
    LSChServiceID =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ServiceID"), QStringLiteral("LSChServiceID"));
    LSChServiceType =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ServiceType"), QStringLiteral("LSChServiceType"));
    LSChServiceChNr =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ChannelNr"), QStringLiteral("LSChServiceChNr"));
    col->addWidget(ServicesSatInfoPanel3);
    col->addStretch(1);

    CaptionSatDisEqc->setObjectName(QStringLiteral("CaptionSatDisEqc"));
    CaptionSatPosition->setObjectName(QStringLiteral("CaptionSatPosition"));
    CaptionTrPolarization->setObjectName(QStringLiteral("CaptionTrPolarization"));
    ServicesSatInfoPanel1->hide();
    ServicesSatInfoPanel2->hide();
    ServicesSatInfoPanel3->hide();
}

void TServicesInfo::Show(const TBasicSNode& d, int boxType, TNameCharset charset) {
    const int k = d.Kind;
    ServicesSatInfoPanel1->setVisible(k >= SKindSat);
    ServicesSatInfoPanel2->setVisible(k >= SKindTransponder);
    ServicesSatInfoPanel3->setVisible(k == SKindChannel);

    const TTrChannel* ch = k == SKindChannel ? d.Channel.get() : nullptr;
    const TTransponder* tr = k == SKindTransponder ? d.Transponder.get() : ch ? ch->Transponder : nullptr;
    const TSat* sat = k == SKindSat ? d.Sat.get() : tr ? tr->Sat : nullptr;
    if (sat) {
        LSSatName->setText(Shown(sat->Name, charset));
        LSSatDisEqc->setText(Shown(sat->Diseqc, charset));
        LSSatPosition->setText(Shown(sat->Position, charset));
    }
    if (tr) {
        LSTrID->setText(Hex(tr->Id, 4));
        LSTrOnID->setText(Hex(tr->Onid, 4));
        LSTrFrequency->setText(QString::number(tr->Frequency) + T(kKHz));
        LSTrInversion->setText(Shown(tr->Inversion, charset));
        LSTrSymbolrate->setText(QString::number(tr->SymbolRate));
        LSTrFec_inner->setText(QString::number(tr->FecInner));
        QString pol;
        if (boxType == BoxSat)
            pol = tr->Polarization == 0   ? T(kHorizontal)
                  : tr->Polarization == 1 ? T(kVertical)
                                          : QString::number(tr->Polarization);
        else if (boxType == BoxCable)
            pol = QString::number(tr->Polarization);
        LSTrPolarization->setText(pol);
    }
    if (ch) {
        LSChName->setText(Shown(ch->Name, charset));
        LSChServiceID->setText(Hex(ch->ServiceId, 4));
        QString type = Hex(ch->ServiceType, 2);
        if (ch->ServiceType == 1)
            type += T(kTypeTV);
        else if (ch->ServiceType == 2)
            type += T(kTypeRadio);
        LSChServiceType->setText(type);
        LSChServiceChNr->setText(Shown(ch->ChannelNr, charset));
    }
}

void TServicesInfo::ShowNothing() {
    ServicesSatInfoPanel1->setVisible(false);
    ServicesSatInfoPanel2->setVisible(false);
    ServicesSatInfoPanel3->setVisible(false);
}

void TServicesInfo::ShowCounters(int total, int tv, int radio) {
    LSrvGesamt->setText(QString::number(total));
    LSrvTV->setText(QString::number(tv));
    LSrvRadio->setText(QString::number(radio));
}

void TServicesInfo::SetBoxLabels(bool satellite) {
    ServicesSatInfoPanel1->Heading()->setText(T(satellite ? kSatellite : kCable));
    for (QWidget* w :
         std::initializer_list<QWidget*>{CaptionSatDisEqc, LSSatDisEqc, CaptionSatPosition, LSSatPosition})
        w->setVisible(satellite);
    CaptionTrPolarization->setText(T(satellite ? kPolarization : kModulation));
}

} // namespace xantu
