#include "settings/FormStore.h"
#include "settings/IniFile.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace xantu;

namespace {
QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void WriteAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

TEST(IniFile, KeepsOrderAndOtherSections) {
    TIniFile ini;
    ini.Parse("[ServicePool]\nColWidth0=60\n\n[Main]\nBoxIP=1.2.3.4\nshowtv=0\n");
    EXPECT_EQ(ini.Value("main", "ShowTV"), "0"); // case-insensitive, like the old file
    ini.SetValue("Main", "ShowTV", "1");
    ini.SetValue("Main", "LocalPath", "/a=b/");
    EXPECT_EQ(ini.Text(),
              "[ServicePool]\nColWidth0=60\n\n[Main]\nBoxIP=1.2.3.4\nshowtv=1\nLocalPath=/a=b/\n");
    TIniFile again;
    again.Parse(ini.Text());
    EXPECT_EQ(again.Value("Main", "LocalPath"), "/a=b/");
    EXPECT_FALSE(again.Has("Main", "Missing"));
}

TEST(IniFile, SavesAtomicallyForTheOwnerOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    TIniFile ini;
    ini.SetValue("Main", "BoxPass", "geheim");
    ASSERT_TRUE(ini.Save(path));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // A folder that cannot be written leaves the old file as it was.
    EXPECT_FALSE(ini.Save(dir.filePath("missing/Settings.ini")));
    TIniFile back;
    EXPECT_TRUE(back.Load(path));
    EXPECT_EQ(back.Value("Main", "BoxPass"), "geheim");
    EXPECT_FALSE(back.Load(dir.filePath("nothing.ini")));
}

TEST(FormStore, RestoresOnFirstShowAndSavesOnlyAfterARestore) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Settings.ini");
    WriteAll(path, "[ServicePool]\nX=1\n\n[Main]\nBoxIP=10.0.0.1\nShowTV=abc\n");
    QWidget w;
    TFormStore store(&w, "Main");
    store.SetIniFileName(path);
    int restored = 0;
    store.OnRestorePlacement = [&] { ++restored; };
    store.OnSavePlacement = [&] { store.WriteString("BoxIP", "10.0.0.2"); };
    int width = 220;
    store.AddStoredInt(
        "BouquetRPanel.Width", [&] { return width; }, [&](int v) { width = v; });

    // Not restored yet: nothing is written.
    store.SaveIfAllowed();
    EXPECT_EQ(ReadAll(path), "[ServicePool]\nX=1\n\n[Main]\nBoxIP=10.0.0.1\nShowTV=abc\n");

    store.RestoreOnFirstShow();
    store.RestoreOnFirstShow();
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(store.ReadString("BoxIP", "x"), "10.0.0.1");
    EXPECT_EQ(store.ReadInt("ShowTV", 7), 7); // not a number: the default
    EXPECT_EQ(store.ReadInt("Missing", 3), 3);

    width = 300;
    // Another window wrote its section meanwhile; it survives our save.
    WriteAll(path, "[ServicePool]\nX=2\n");
    store.SaveIfAllowed();
    TIniFile back;
    back.Load(path);
    EXPECT_EQ(back.Value("ServicePool", "X"), "2");
    EXPECT_EQ(back.Value("Main", "BoxIP"), "10.0.0.2");
    EXPECT_EQ(back.Value("Main", "BouquetRPanel.Width"), "300");
    EXPECT_TRUE(back.Has("Main", "NormPos"));

    // Switched off: no save.
    store.Active = false;
    store.WriteString("BoxIP", "10.0.0.3");
    store.SaveIfAllowed();
    back.Load(path);
    EXPECT_EQ(back.Value("Main", "BoxIP"), "10.0.0.2");
}

TEST(FormStore, UnreadableOrUnwritableFileNeverStopsTheProgram) {
    QWidget w;
    TFormStore store(&w, "Main");
    store.SetIniFileName("/dev/null/Settings.ini");
    store.RestoreOnFirstShow();
    EXPECT_EQ(store.ReadString("BoxUser", "root"), "root");
    store.WriteString("BoxUser", "admin");
    store.SaveIfAllowed(); // silently gives up
    EXPECT_TRUE(store.Restored());
}
