#include "box/BasicSettings.h"

#include "box/Texts.h"
#include "ui/Dialogs.h"
#include "ui/Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace xantu {

using namespace box_texts;

namespace {

QLabel* Caption(QWidget* parent, const char* text, QWidget* buddy, int y) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(8, y, 158, 21);
    l->setBuddy(buddy);
    return l;
}

// Shrinks the font of `w` until `text` plus `extra` pixels fits its width;
// wide system fonts would otherwise cut the long captions off.
void FitFont(QWidget* w, const QString& text, int extra) {
    QFont f = w->font();
    while (f.pointSizeF() > 6 && QFontMetrics(f).horizontalAdvance(text) + extra > w->width())
        f.setPointSizeF(f.pointSizeF() - 0.5);
    w->setFont(f);
}

} // namespace

TBasicSettings::TBasicSettings(TDialogs& dialogs, const TEchoBackendFactory& echo, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setFixedSize(344, 159);
    // The client area is small; the 8-point font of the rest of the program
    // lets every caption fit.
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    EBoxIP = new QLineEdit(this);
    EBoxUser = new QLineEdit(this);
    EBoxPass = new QLineEdit(this);
    EBoxBouqDir = new QComboBox(this);
    BttnPing = new QPushButton(QString::fromUtf8(kPingCaption), this);
    BttnAbbr = new QPushButton(QString::fromUtf8(ui_texts::kCancel), this);
    BttnOk = new QPushButton(QString::fromUtf8(ui_texts::kOk), this);
    CBInfoChwoSrv = new QCheckBox(QString::fromUtf8(kInfoChannelWithoutService), this);
    EBoxIP->setObjectName("EBoxIP");
    EBoxUser->setObjectName("EBoxUser");
    EBoxPass->setObjectName("EBoxPass");
    EBoxBouqDir->setObjectName("EBoxBouqDir");
    BttnPing->setObjectName("BttnPing");
    BttnAbbr->setObjectName("BttnAbbr");
    BttnOk->setObjectName("BttnOk");
    CBInfoChwoSrv->setObjectName("CBInfoChwoSrv");

    Caption(this, kBoxIP, EBoxIP, 8);
    Caption(this, kBoxUser, EBoxUser, 33);
    Caption(this, kBoxPass, EBoxPass, 58);
    Caption(this, kBoxBouqDir, EBoxBouqDir, 83);
    EBoxIP->setGeometry(168, 8, 168, 21);
    EBoxUser->setGeometry(168, 33, 168, 21);
    EBoxPass->setGeometry(168, 58, 168, 21);
    EBoxBouqDir->setGeometry(168, 83, 168, 21);
    CBInfoChwoSrv->setGeometry(8, 107, 328, 20);
    BttnPing->setGeometry(8, 130, 130, 23);
    BttnAbbr->setGeometry(180, 130, 75, 23);
    BttnOk->setGeometry(261, 130, 75, 23);

    FitFont(CBInfoChwoSrv, CBInfoChwoSrv->text().remove(QLatin1Char('&')), 24);
    for (QLabel* l : findChildren<QLabel*>())
        FitFont(l, l->text().remove(QLatin1Char('&')), 2);

    EBoxPass->setEchoMode(QLineEdit::Password);
    EBoxPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    EBoxBouqDir->setEditable(true);
    EBoxBouqDir->setInsertPolicy(QComboBox::NoInsert);
    // No completion while typing: OK stores exactly what the user typed.
    EBoxBouqDir->setCompleter(nullptr);
    EBoxBouqDir->addItem(QStringLiteral("/var/pelmar/config/xantu"));
    BttnPing->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    BttnOk->setDefault(true);

    setTabOrder(EBoxIP, EBoxUser);
    setTabOrder(EBoxUser, EBoxPass);
    setTabOrder(EBoxPass, EBoxBouqDir);
    setTabOrder(EBoxBouqDir, BttnPing);
    setTabOrder(BttnPing, BttnAbbr);
    setTabOrder(BttnAbbr, BttnOk);
    setTabOrder(BttnOk, CBInfoChwoSrv);

    connect(BttnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BttnAbbr, &QPushButton::clicked, this, &QDialog::reject);
    connect(BttnPing, &QPushButton::clicked, this, &TBasicSettings::BttnPingClick);

    Ping = new TPing(echo, this);
    connect(Ping, &TPing::DnsLookupDone, this, &TBasicSettings::PingDnsLookupDone);
    connect(Ping, &TPing::EchoReply, this, &TBasicSettings::PingEchoReply);
    EBoxIP->setFocus();
}

void TBasicSettings::SetValues(const TBoxSettings& v) {
    EBoxIP->setText(v.BoxIP);
    EBoxUser->setText(v.BoxUser);
    EBoxPass->setText(v.BoxPass);
    EBoxBouqDir->setEditText(v.BoxBouqDir);
    CBInfoChwoSrv->setChecked(v.Info_ChannelWithoutService);
}

TBoxSettings TBasicSettings::Values() const {
    TBoxSettings v;
    v.BoxIP = EBoxIP->text();
    v.BoxUser = EBoxUser->text();
    v.BoxPass = EBoxPass->text();
    v.BoxBouqDir = EBoxBouqDir->currentText();
    v.Info_ChannelWithoutService = CBInfoChwoSrv->isChecked();
    return v;
}

bool TBasicSettings::Run(QWidget* parent, TDialogs& dialogs, TBoxSettings& values, const TExec& exec,
                         const TEchoBackendFactory& echo) {
    TBasicSettings dlg(dialogs, echo, parent);
    dlg.SetValues(values);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        dlg.move(screen->availableGeometry().center() - dlg.rect().center());
    const int result = exec ? exec(dlg) : dlg.exec();
    if (result != QDialog::Accepted)
        return false;
    values = dlg.Values();
    return true;
}

void TBasicSettings::RestorePingButton() {
    BttnPing->setEnabled(true);
    BttnPing->setText(QString::fromUtf8(kPingCaption));
}

void TBasicSettings::BttnPingClick() {
    if (!BttnPing->isEnabled())
        return;
    BttnPing->setEnabled(false);
    BttnPing->setText(QString::fromUtf8(kPingRunning));
    Ping->DnsLookup(EBoxIP->text());
}

void TBasicSettings::PingDnsLookupDone(quint16 error) {
    if (error != 0) {
        dialogs_.Message(this, TMsgKind::Error, QString::fromUtf8(kUnknownHost).arg(EBoxIP->text()));
        RestorePingButton();
        return;
    }
    if (!Ping->HandleError().isEmpty()) {
        // No ICMP socket on this system: say so here rather than refusing
        // the whole dialog, whose other fields do not need one.
        RestorePingButton();
        dialogs_.Message(this, TMsgKind::Error, Ping->HandleError());
        return;
    }
    Ping->Address = Ping->DnsResult();
    // The echo waits up to 4 seconds; the dialog stays responsive meanwhile.
    Ping->PingInBackground();
}

void TBasicSettings::done(int result) {
    // Not closed while a ping runs: its answer would have nowhere to go.
    if (!BttnPing->isEnabled())
        return;
    QDialog::done(result);
}

void TBasicSettings::PingEchoReply(int replies) {
    RestorePingButton();
    if (replies == 0) {
        dialogs_.Message(
            this, TMsgKind::Error,
            QString::fromUtf8(kPingFailed).arg(Ping->HostIP(), IcmpStatusText(Ping->ReplyStatus())));
    } else {
        dialogs_.Message(
            this, TMsgKind::Information,
            QString::fromUtf8(kPingDone).arg(Ping->HostIP(), QString::number(Ping->RoundTrip())));
    }
}

} // namespace xantu
