// The settings dialog: what it shows, what OK and Cancel copy, and the ping
// button with a scripted echo.
#include "box/BasicSettings.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace xantu;

namespace {

class TScriptedEcho : public TEchoBackend {
  public:
    TScriptedEcho(TEchoResult r, std::function<void()> during = {}) : result(r), during(std::move(during)) {}
    TEchoResult Echo(quint32 address, const QByteArray&, int, int) override {
        lastAddress = address;
        if (during)
            during();
        return result;
    }
    TEchoResult result;
    std::function<void()> during;
    quint32 lastAddress = 0;
};

TEchoBackendFactory Echo(TEchoResult r, std::function<void()> during = {}) {
    return [r, during] { return std::make_unique<TScriptedEcho>(r, during); };
}

TBoxSettings Sample() {
    TBoxSettings v;
    v.BoxIP = "192.168.178.30";
    v.BoxUser = "root";
    v.BoxPass = "qvex5";
    v.BoxBouqDir = "/var/pelmar/config/xantu";
    v.Info_ChannelWithoutService = true;
    return v;
}

// The echo runs in the background; its box comes through the event loop.
void WaitForBoxes(const TScriptedDialogs& boxes, int count = 1) {
    QElapsedTimer t;
    t.start();
    while (boxes.Messages.size() < count && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QString LabelFor(QWidget* dlg, QWidget* buddy) {
    for (QLabel* l : dlg->findChildren<QLabel*>())
        if (l->buddy() == buddy)
            return l->text();
    return {};
}

} // namespace

TEST(BasicSettings, ShowsTheControlsInTabOrder) {
    TScriptedDialogs boxes;
    TBasicSettings dlg(boxes, Echo({}));
    dlg.SetValues(Sample());
    EXPECT_EQ(dlg.windowTitle(), "BasisEinstellungen");
    // The classic 344 x 159 and one row for the passive-mode switch.
    EXPECT_EQ(dlg.size(), QSize(344, 182));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(LabelFor(&dlg, dlg.EBoxIP), "&IP der Box");
    EXPECT_EQ(LabelFor(&dlg, dlg.EBoxUser), "&Benutzername");
    EXPECT_EQ(LabelFor(&dlg, dlg.EBoxPass), "Pass&word");
    EXPECT_EQ(LabelFor(&dlg, dlg.EBoxBouqDir), "P&fad [bouquets + services]");
    EXPECT_EQ(dlg.BttnPing->text(), "&Ping the Box");
    EXPECT_FALSE(dlg.BttnPing->icon().isNull());
    EXPECT_EQ(dlg.EBoxBouqDir->completer(), nullptr); // OK stores what was typed, nothing completed
    EXPECT_EQ(dlg.BttnAbbr->text(), "Abbrechen");
    EXPECT_EQ(dlg.BttnOk->text(), "OK");
    EXPECT_TRUE(dlg.BttnOk->isDefault());
    EXPECT_EQ(dlg.CBInfoChwoSrv->text(), QString::fromUtf8("Info \xC3\xBC"
                                                           "ber &Channels ohne g\xC3\xBCltigen Service (beim "
                                                           "\xC3\x96"
                                                           "ffnen / Laden)"));
    EXPECT_EQ(dlg.CBPassive->text(), "Passiver Modus (PASV)");
    EXPECT_EQ(dlg.EBoxPass->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dlg.EBoxBouqDir->isEditable());
    ASSERT_EQ(dlg.EBoxBouqDir->count(), 1);
    EXPECT_EQ(dlg.EBoxBouqDir->itemText(0), "/var/pelmar/config/xantu");

    // Follow the focus chain from the address field.
    const QList<QWidget*> wanted = {dlg.EBoxIP,      dlg.EBoxUser,      dlg.EBoxPass,
                                    dlg.EBoxBouqDir, dlg.BttnPing,      dlg.BttnAbbr,
                                    dlg.BttnOk,      dlg.CBInfoChwoSrv, dlg.CBPassive};
    QList<QWidget*> order;
    QWidget* w = dlg.EBoxIP;
    for (int i = 0; i < 50 && order.size() < wanted.size(); ++i, w = w->nextInFocusChain())
        if (wanted.contains(w) && !order.contains(w))
            order << w;
    EXPECT_EQ(order, wanted);

    // Every control lies inside the client area.
    for (QWidget* c : wanted)
        EXPECT_TRUE(dlg.rect().contains(c->geometry())) << c->objectName().toStdString();

    if (const char* shot = std::getenv("XANTU_SHOT")) {
        dlg.show();
        dlg.grab().save(QString::fromUtf8(shot));
    }
}

TEST(BasicSettings, OkCopiesTheTextsExactlyAndCancelNothing) {
    TScriptedDialogs boxes;
    TBoxSettings values = Sample();
    // Cancel after edits and a ping: nothing changes.
    EXPECT_FALSE(TBasicSettings::Run(
        nullptr, boxes, values,
        [&boxes](TBasicSettings& d) {
            EXPECT_EQ(d.Values().BoxIP, "192.168.178.30");
            d.EBoxIP->setText("127.0.0.1");
            d.BttnPingClick();
            WaitForBoxes(boxes);
            d.EBoxUser->setText("admin");
            d.CBPassive->setChecked(true);
            return int(QDialog::Rejected);
        },
        Echo({1, 0, 1, 56})));
    EXPECT_EQ(values.BoxIP, "192.168.178.30");
    EXPECT_EQ(values.BoxUser, "root");
    EXPECT_FALSE(values.BoxPassive);
    ASSERT_EQ(boxes.Messages.size(), 1);
    EXPECT_TRUE(boxes.Messages[0].Text.startsWith("Ping an Host [127.0.0.1]"));

    // OK: everything as typed, blanks and empty fields included.
    EXPECT_TRUE(TBasicSettings::Run(
        nullptr, boxes, values,
        [](TBasicSettings& d) {
            d.EBoxIP->setText(" box.local ");
            d.EBoxUser->setText("");
            d.EBoxPass->setText("p w");
            d.EBoxBouqDir->setEditText("");
            d.CBInfoChwoSrv->setChecked(false);
            EXPECT_FALSE(d.CBPassive->isChecked()); // off unless asked for
            d.CBPassive->click();
            return int(QDialog::Accepted);
        },
        Echo({})));
    EXPECT_EQ(values.BoxIP, " box.local ");
    EXPECT_EQ(values.BoxUser, "");
    EXPECT_EQ(values.BoxPass, "p w");
    EXPECT_EQ(values.BoxBouqDir, "");
    EXPECT_FALSE(values.Info_ChannelWithoutService);
    EXPECT_TRUE(values.BoxPassive);
}

TEST(BasicSettings, PingReportsSuccessAndKeepsTheButtonDisabledMeanwhile) {
    TScriptedDialogs boxes;
    TBasicSettings* seen = nullptr;
    bool enabledDuring = true;
    QString captionDuring;
    TBasicSettings dlg(boxes, Echo({1, 0, 7, 56}, [&] {
                           enabledDuring = seen->BttnPing->isEnabled();
                           captionDuring = seen->BttnPing->text();
                       }));
    seen = &dlg;
    dlg.SetValues(Sample());
    dlg.EBoxIP->setText("127.000.0.1");
    dlg.BttnPing->click();
    // While the echo runs the dialog answers and stays open.
    EXPECT_FALSE(dlg.BttnPing->isEnabled());
    dlg.show();
    dlg.reject();
    EXPECT_TRUE(dlg.isVisible());
    WaitForBoxes(boxes);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(captionDuring, QString::fromUtf8("Ping l\xC3\xA4uft ..."));
    EXPECT_TRUE(dlg.BttnPing->isEnabled());
    EXPECT_EQ(dlg.BttnPing->text(), "&Ping the Box");
    ASSERT_EQ(boxes.Messages.size(), 1);
    EXPECT_EQ(boxes.Messages[0].Kind, TMsgKind::Information);
    EXPECT_EQ(boxes.Messages[0].Text, "Ping an Host [127.0.0.1] war erfolgreich!\rEcho kam nach 7 msecs");
}

TEST(BasicSettings, PingFailures) {
    {
        SCOPED_TRACE("no answer in time");
        TScriptedDialogs boxes;
        TBasicSettings dlg(boxes, Echo({0, IcmpReqTimedOut, 0, 0}));
        dlg.EBoxIP->setText("10.20.30.40");
        dlg.BttnPingClick();
        WaitForBoxes(boxes);
        ASSERT_EQ(boxes.Messages.size(), 1);
        EXPECT_EQ(boxes.Messages[0].Kind, TMsgKind::Error);
        EXPECT_EQ(boxes.Messages[0].Text, "Cannot ping host [10.20.30.40] : Request timed out");
        EXPECT_TRUE(dlg.BttnPing->isEnabled());
    }
    {
        SCOPED_TRACE("an unreachable reply");
        TScriptedDialogs boxes;
        TBasicSettings dlg(boxes, Echo({0, IcmpDestHostUnreachable, 0, 0}));
        dlg.EBoxIP->setText("10.20.30.40");
        dlg.BttnPingClick();
        WaitForBoxes(boxes);
        ASSERT_EQ(boxes.Messages.size(), 1);
        EXPECT_EQ(boxes.Messages[0].Text, "Cannot ping host [10.20.30.40] : Destination host unreachable");
    }
    {
        SCOPED_TRACE("unknown host, looked up in the background");
        TScriptedDialogs boxes;
        TBasicSettings dlg(boxes, Echo({1, 0, 1, 56}));
        dlg.EBoxIP->setText("no..such.box");
        dlg.BttnPingClick();
        EXPECT_FALSE(dlg.BttnPing->isEnabled()); // a second click is impossible
        QElapsedTimer t;
        t.start();
        while (boxes.Messages.isEmpty() && t.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(boxes.Messages.size(), 1);
        EXPECT_EQ(boxes.Messages[0].Kind, TMsgKind::Error);
        EXPECT_EQ(boxes.Messages[0].Text, "Unbekannter Host 'no..such.box'");
        EXPECT_TRUE(dlg.BttnPing->isEnabled());
        EXPECT_EQ(dlg.BttnPing->text(), "&Ping the Box");
    }
    {
        SCOPED_TRACE("no ICMP socket: the dialog opens, the ping says why it cannot");
        TScriptedDialogs boxes;
        TBoxSettings values = Sample();
        EXPECT_TRUE(TBasicSettings::Run(
            nullptr, boxes, values,
            [](TBasicSettings& d) {
                d.EBoxIP->setText("127.0.0.1");
                d.BttnPingClick();
                return int(QDialog::Accepted);
            },
            []() -> std::unique_ptr<TEchoBackend> {
                throw std::runtime_error("Unable to get ping handle");
            }));
        ASSERT_EQ(boxes.Messages.size(), 1);
        EXPECT_EQ(boxes.Messages[0].Text, "Unable to get ping handle");
        EXPECT_EQ(values.BoxIP, "127.0.0.1");
    }
}
