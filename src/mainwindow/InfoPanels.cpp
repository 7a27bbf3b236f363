#include "mainwindow/InfoPanels.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace xantu {

namespace {

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

    BouquetInfoCaptionPanel = MakeHeading(QStringLiteral("Informationen"), this);
    BouquetInfoCaptionPanel->setObjectName(QStringLiteral("BouquetInfoCaptionPanel"));
    BouquetInfoCaptionPanel->setAlignment(Qt::AlignCenter);
    BouquetInfoCaptionPanel->setFrameShape(QFrame::StyledPanel);
    BouquetInfoCaptionPanel->setMinimumHeight(24);
    col->addWidget(BouquetInfoCaptionPanel);

    BouquetBInfoPanel = new TInfoPanel(QStringLiteral("BouquetBInfoPanel"), QStringLiteral("Bouquet"), this);
    EBBouquetName = MakeNameEdit(QStringLiteral("EBBouquetName"), BouquetBInfoPanel);
    BouquetBInfoPanel->AddRowWidget(new QLabel(QStringLiteral("Name"), BouquetBInfoPanel), EBBouquetName);
    EBBouquetHidden =
        MakeLeftCheckBox(QStringLiteral("EBBouquetHidden"), QStringLiteral("&Hidden"), BouquetBInfoPanel);
    EBBouquetLocked =
        MakeLeftCheckBox(QStringLiteral("EBBouquetLocked"), QStringLiteral("&Locked"), BouquetBInfoPanel);
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
    LAndereInfoText =
        new QLabel(QStringLiteral("\"andere\" ist der Papierkorb und enthält alle Services, die nicht "
                                  "in normalen Bouquets zugewiesen wurden. \nServiceTypen: "
                                  "0x01[TV], 0x02[Radio]"),
                   BouquetAInfoPanel);
    LAndereInfoText->setObjectName(QStringLiteral("LAndereInfoText"));
    LAndereInfoText->setTextFormat(Qt::PlainText);
    LAndereInfoText->setWordWrap(true);
    aLayout->addWidget(LAndereInfoText);
    col->addWidget(BouquetAInfoPanel);

    BouquetCInfoPanel = new TInfoPanel(QStringLiteral("BouquetCInfoPanel"), QStringLiteral("Channel"), this);
    EBChannelName = MakeNameEdit(QStringLiteral("EBChannelName"), BouquetCInfoPanel);
    BouquetCInfoPanel->AddRowWidget(new QLabel(QStringLiteral("Name"), BouquetCInfoPanel), EBChannelName);
    LBChannelOnID = BouquetCInfoPanel->AddRow(QStringLiteral("OnID"), QStringLiteral("LBChannelOnID"));
    LBChannelTsID = BouquetCInfoPanel->AddRow(QStringLiteral("TsID"), QStringLiteral("LBChannelTsID"));
    LBChannelServiceID =
        BouquetCInfoPanel->AddRow(QStringLiteral("ServiceID"), QStringLiteral("LBChannelServiceID"));
    Label15 = new TClickLabel(QStringLiteral("SatPosition"), BouquetCInfoPanel);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setCursor(Qt::PointingHandCursor);
    LBChannelSatPosition = MakeHeading(QString(), BouquetCInfoPanel);
    LBChannelSatPosition->setObjectName(QStringLiteral("LBChannelSatPosition"));
    BouquetCInfoPanel->AddRowWidget(Label15, LBChannelSatPosition);
    BttnGotoService = new QPushButton(QStringLiteral("Service"), BouquetCInfoPanel);
    BttnGotoService->setObjectName(QStringLiteral("BttnGotoService"));
    BouquetCInfoPanel->AddRowWidget(nullptr, BttnGotoService);
    col->addWidget(BouquetCInfoPanel);
    col->addStretch(1);

    BouquetAInfoPanel->hide();
    BouquetBInfoPanel->hide();
    BouquetCInfoPanel->hide();
}

TServicesInfo::TServicesInfo(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ServicesRPanel"));
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(1, 1, 1, 1);
    col->setSpacing(2);

    auto* caption =
        new TInfoPanel(QStringLiteral("ServicesInfoCaptionPanel"), QStringLiteral("Informationen"), this);
    caption->Heading()->setAlignment(Qt::AlignCenter);
    ServicesInfoCaptionPanel = caption;
    LSrvGesamt = caption->AddRow(QStringLiteral("Services (alle)"), QStringLiteral("LSrvGesamt"));
    LSrvTV = caption->AddRow(QStringLiteral("TV [0x0001]"), QStringLiteral("LSrvTV"));
    LSrvRadio = caption->AddRow(QStringLiteral("Radio [0x0002]"), QStringLiteral("LSrvRadio"));
    for (QLabel* l : {LSrvGesamt, LSrvTV, LSrvRadio})
        l->setText(QStringLiteral("0"));
    col->addWidget(caption);

    ServicesSatInfoPanel1 =
        new TInfoPanel(QStringLiteral("ServicesSatInfoPanel1"), QStringLiteral("Satelit"), this);
    LSSatName = ServicesSatInfoPanel1->AddRow(QStringLiteral("Name"), QStringLiteral("LSSatName"));
    LSSatDisEqc = ServicesSatInfoPanel1->AddRow(QStringLiteral("DisEqc"), QStringLiteral("LSSatDisEqc"),
                                                &CaptionSatDisEqc);
    LSSatPosition = ServicesSatInfoPanel1->AddRow(QStringLiteral("Position"), QStringLiteral("LSSatPosition"),
                                                  &CaptionSatPosition);
    col->addWidget(ServicesSatInfoPanel1);

    ServicesSatInfoPanel2 =
        new TInfoPanel(QStringLiteral("ServicesSatInfoPanel2"), QStringLiteral("Transponder"), this);
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
    LSTrPolarization = ServicesSatInfoPanel2->AddRow(
        QStringLiteral("Polarization"), QStringLiteral("LSTrPolarization"), &CaptionTrPolarization);
    col->addWidget(ServicesSatInfoPanel2);

    ServicesSatInfoPanel3 =
        new TInfoPanel(QStringLiteral("ServicesSatInfoPanel3"), QStringLiteral("Channel"), this);
    LSChName = ServicesSatInfoPanel3->AddRow(QStringLiteral("Name"), QStringLiteral("LSChName"));
    LSChServiceID =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ServiceID"), QStringLiteral("LSChServiceID"));
    LSChServiceType =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ServiceType"), QStringLiteral("LSChServiceType"));
    LSChServiceChNr =
        ServicesSatInfoPanel3->AddRow(QStringLiteral("ChannelNr"), QStringLiteral("LSChServiceChNr"));
    col->addWidget(ServicesSatInfoPanel3);
    col->addStretch(1);

    ServicesSatInfoPanel1->hide();
    ServicesSatInfoPanel2->hide();
    ServicesSatInfoPanel3->hide();
}

} // namespace xantu
