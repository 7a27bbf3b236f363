#include "about/AboutBox.h"
#include "about/VersionInfo.h"
#include "model/XantuModel.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace xantu {
namespace {

const QString kProbe = QStringLiteral(XANTU_VERSION_PROBE);
const QString kCopyright = QStringLiteral("Copyright \u00A9 2005-2025 XantuEditor-Projekt");

void ExpectOurVersionBlock(const QString& file) {
    SCOPED_TRACE(file.toStdString());
    TVersionInfo vi(file);
    EXPECT_GT(vi.InfoSize(), 0);
    EXPECT_EQ(vi.Value("FileVersion"), "1.6.0.0");
    EXPECT_EQ(vi.Value("LegalCopyRight"), kCopyright);
    EXPECT_EQ(vi.Value("ProductName"), "XantuEditor");
    // Two tables; the German one comes first and is the only one read.
    ASSERT_EQ(vi.TranslationCount(), 2);
    EXPECT_EQ(vi.Translation(0).Language, 0x0407);
    EXPECT_EQ(vi.Translation(0).CodePage, 0x04E4);
    EXPECT_EQ(vi.Translation(1).Language, 0x0409);
    EXPECT_EQ(vi.Value("FileDescription"), QStringLiteral("Editor f\u00FCr Kanallisten"));
    EXPECT_EQ(vi.Value("NoSuchEntry"), QString());
}

TEST(VersionInfo, ReadsVersionAndCopyrightFromTheBuiltProgram) {
    ExpectOurVersionBlock(kProbe);
#ifdef XANTU_EDITOR_PROGRAM
    if (QFile::exists(QStringLiteral(XANTU_EDITOR_PROGRAM)))
        ExpectOurVersionBlock(QStringLiteral(XANTU_EDITOR_PROGRAM));
#endif
    // An empty name means the running program, which carries the block too.
    TVersionInfo own;
    EXPECT_EQ(own.FileName(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(own.Value("FileVersion"), "1.6.0.0");
}

TEST(VersionInfo, FileWithoutVersionInformationGivesEmptyTexts) {
    QTemporaryDir dir;
    const QString text = dir.filePath("plain.txt");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x7f"
            "ELF but nothing else");
    f.close();
    for (const QString& file : {QStringLiteral(XANTU_PLAIN_PROGRAM), text, dir.filePath("missing")}) {
        SCOPED_TRACE(file.toStdString());
        TVersionInfo vi(file);
        EXPECT_EQ(vi.InfoSize(), 0);
        EXPECT_EQ(vi.TranslationCount(), 0);
        EXPECT_EQ(vi.Value("FileVersion"), QString());
        QLabel label("before");
        vi.SetLink(TVersionInfo::CtlFileVersion, &label);
        EXPECT_EQ(label.text(), QString());
    }
}

TEST(VersionInfo, ABlockThatCannotBeReadIsAnError) {
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken");
    QFile in(kProbe);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    const qsizetype at = bytes.indexOf("XANTU-VERSION 1\n");
    ASSERT_GE(at, 0);
    bytes[at + 14] = '9';
    QFile out(broken);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    try {
        TVersionInfo vi(broken);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), "Cannot retrieve Version Information for " + broken);
    }
    // The box does not open; the error is reported instead.
    TScriptedDialogs dialogs;
    EXPECT_EQ(TAboutBox::Execute(nullptr, dialogs, broken), QDialog::Rejected);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages[0].Kind, TMsgKind::Error);
    EXPECT_EQ(dialogs.Messages[0].Text, "Cannot retrieve Version Information for " + broken);
}

class CaptionAndText : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString caption MEMBER caption)
    Q_PROPERTY(QString text MEMBER text)
  public:
    QString caption = "c";
    QString text = "t";
};

TEST(VersionInfo, LinksPreferCaptionThenTextAndForgetDestroyedControls) {
    TVersionInfo vi(kProbe);
    CaptionAndText both;
    QObject neither;
    neither.setObjectName("unchanged");
    auto label = std::make_unique<QLabel>();
    vi.SetLink(TVersionInfo::CtlProductVersion, &both);
    vi.SetLink(TVersionInfo::CtlCompanyName, &neither);
    EXPECT_EQ(both.caption, "1.6.0.0");
    EXPECT_EQ(both.text, "t");
    EXPECT_EQ(neither.objectName(), "unchanged");

    // Linking one control refreshes all of them.
    both.caption.clear();
    vi.SetLink(TVersionInfo::CtlLegalCopyRight, label.get());
    EXPECT_EQ(label->text(), kCopyright);
    EXPECT_EQ(both.caption, "1.6.0.0");

    label.reset();
    EXPECT_EQ(vi.LinkedControl(TVersionInfo::CtlLegalCopyRight), nullptr);
    vi.RefreshLinks();
}

TEST(AboutBox, ShowsTitleVersionAndCopyrightAndClosesWithOk) {
    TAboutBox box(nullptr, kProbe);
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.LProgrammName->text(), "XantuEditor");
    EXPECT_EQ(box.LVersion->text(), "1.6.0.0");
    EXPECT_EQ(box.LCopyrigth->text(), kCopyright);
    EXPECT_FALSE(box.LMailTo->text().isEmpty());
    EXPECT_TRUE(box.BttnOk->isDefault());
    EXPECT_GE(box.width(), 306);
    EXPECT_GE(box.height(), 133);

    // Modal run, closed by Esc: the result is OK all the same.
    TScriptedDialogs dialogs;
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        static_cast<QDialog*>(modal)->reject();
    });
    EXPECT_EQ(TAboutBox::Execute(nullptr, dialogs, kProbe), QDialog::Accepted);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

} // namespace
} // namespace xantu

namespace {
// The about box names the application as the program sets it.
class ApplicationName : public ::testing::Environment {
  public:
    void SetUp() override { QApplication::setApplicationName("XantuEditor"); }
};
const auto* const kApplicationName = ::testing::AddGlobalTestEnvironment(new ApplicationName);
} // namespace

#include "AboutTest.moc"
