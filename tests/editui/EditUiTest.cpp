#include "editui/PanelCopyMove.h"
#include "editui/SuchenDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace xantu;

TEST(SuchenDlg, TargetsSwitchLayoutLimitAndOptions) {
    TScriptedDialogs dialogs;
    TSuchenDlg dlg(dialogs);
    EXPECT_EQ(dlg.windowTitle(), "Suchen");
    EXPECT_EQ(dlg.EText->geometry().left(), 81);
    EXPECT_EQ(dlg.EText->width(), 272);
    EXPECT_TRUE(dlg.LHexInfo->isHidden());
    // Whatever the desktop font, the label ends before the field and the
    // long option is not cut off.
    EXPECT_LE(dlg.Label1->x() + QFontMetrics(dlg.Label1->font()).horizontalAdvance("Suchen nach:"),
              dlg.EText->x());
    EXPECT_LE(QFontMetrics(dlg.CBFullEqual->font()).horizontalAdvance(dlg.CBFullEqual->text().remove('&')) +
                  20,
              dlg.CBFullEqual->width());
    dlg.CBCase->setChecked(true);
    dlg.EText->setText("abc");
    dlg.CBTargetItem[1]->click();
    EXPECT_EQ(dlg.Target(), 1);
    EXPECT_TRUE(dlg.EText->text().isEmpty());
    EXPECT_EQ(dlg.EText->geometry().left(), 97);
    EXPECT_EQ(dlg.EText->width(), 40);
    EXPECT_EQ(dlg.EText->maxLength(), 4);
    EXPECT_FALSE(dlg.LHexInfo->isHidden());
    EXPECT_FALSE(dlg.CBCase->isEnabled());
    EXPECT_TRUE(dlg.CBCase->isChecked()); // the check stays
    QTest::keyClicks(dlg.EText, "6d66a");
    EXPECT_EQ(dlg.EText->text(), "6d66");
}

TEST(SuchenDlg, OkRefusesEmptyAndNonHexTexts) {
    TScriptedDialogs dialogs;
    TSuchenDlg dlg(dialogs);
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    dlg.BttnOkClick();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Text, "Der Suchstring darf nicht leer bleiben!");
    // A confirmation that only acknowledges: "OK" alone, never Ja/Nein.
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Confirmation);
    EXPECT_EQ(dialogs.Messages[0].Buttons, TButtons::OkOnly);
    dlg.SetSearchData({"", 0, SearchServiceId, false, false});
    dlg.EText->setText("0x6D");
    dlg.BttnOkClick();
    ASSERT_EQ(dialogs.Messages.size(), 2);
    EXPECT_EQ(dialogs.Messages[1].Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages[1].Text, "Der Suchstring ist nicht hexadezimal!");
    EXPECT_EQ(dialogs.Messages[1].Buttons, TButtons::OfKind);
    EXPECT_EQ(accepted.count(), 0);
    dlg.EText->setText("6d66");
    dlg.BttnOkClick();
    EXPECT_EQ(accepted.count(), 1);
    TSearchData d;
    dlg.GetSearchData(d);
    EXPECT_EQ(d.SearchValue, 0x6D66);
    EXPECT_EQ(d.SearchTarget, SearchServiceId);
}

TEST(SuchenDlg, RemembersWhatItIsGiven) {
    TScriptedDialogs dialogs;
    TSuchenDlg dlg(dialogs);
    const TSearchData in{"Ärzte", 0x12, SearchNames, true, true};
    dlg.SetSearchData(in);
    TSearchData out;
    dlg.GetSearchData(out);
    EXPECT_EQ(out.SearchText, in.SearchText);
    EXPECT_EQ(out.SearchValue, 0x12); // the value is put in after the target
    EXPECT_TRUE(out.CaseSensitive && out.FullMatch);
    dlg.SetSearchData({"00A1", 0xA1, SearchOnId, false, true});
    dlg.GetSearchData(out);
    EXPECT_EQ(out.SearchText, "00A1");
    EXPECT_EQ(out.SearchValue, 0xA1);
    EXPECT_EQ(out.SearchTarget, SearchOnId);
}

TEST(PanelCopyMove, ModesClickAndTheFaceAtItsPlace) {
    TPanelCopyMove panel;
    panel.resize(300, 34);
    panel.show();
    EXPECT_EQ(panel.text(), "Verschieben");
    EXPECT_EQ(panel.SmilieGif->x(), 300 - 32);
    panel.resize(180, 34);
    EXPECT_EQ(panel.SmilieGif->x(), 180 - 32);
    panel.ShowMode(true);
    EXPECT_EQ(panel.text(), "Kopieren");
    EXPECT_EQ(panel.palette().color(QPalette::Window), QColor(Qt::cyan));
    EXPECT_EQ(panel.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_TRUE(panel.font().bold());
    QSignalSpy clicks(&panel, &TPanelCopyMove::clicked);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(panel.SmilieGif, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(panel.SmilieGif->Running());
    const int frame = panel.SmilieGif->Frame();
    QTest::qWait(TSmilie::kFrameMs * 2 + 50);
    EXPECT_NE(panel.SmilieGif->Frame(), frame);
}
