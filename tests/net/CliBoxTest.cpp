// xantu-lists fetch, send and backups as a script runs them, against a
// scripted box: what lands in the target folder, the password sources, what
// reaches the terminal, and the backup listing.
#include "FakeBox.h"
#include "core/FileIO.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xantu;
using namespace xantu::test;

namespace {

const std::string kDir = "/var/pelmar/config/xantu/";

std::string Example(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(std::string(XANTU_EXAMPLES_DIR) + "/" + name, bytes));
    return bytes;
}

void StorePair(TFakeBox& box, const char* kind) {
    box.Put(kDir + "services.xml", QByteArray::fromStdString(Example(std::string(kind) + "/services.xml")));
    box.Put(kDir + "bouquets.xml", QByteArray::fromStdString(Example(std::string(kind) + "/bouquets.xml")));
}

struct TRun {
    int Code = -1;
    QByteArray Out, Err;
};

// Runs xantu-lists with its backups in `data`; `env` adds variables.
TRun Cli(const QStringList& args, const QString& data, const QStringList& env = {}) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove("XANTU_BOX_PASSWORD");
    e.insert("XDG_DATA_HOME", data);
    for (const QString& kv : env)
        e.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(e);
    p.start(XANTU_CLI, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

std::string Read(const QString& path) {
    std::string b;
    ReadWholeFile(path.toStdString(), b);
    return b;
}

} // namespace

// The target folder gets both fetched files or neither, and the pair it held
// is kept first.
TEST(CliBox, FetchMovesOnlyAPairThatLoaded) {
    QTemporaryDir tmp;
    const QString data = tmp.path() + "/data";
    const QString target = tmp.path() + "/lists";
    QDir().mkpath(target);
    WriteWholeFile((target + "/services.xml").toStdString(), Example("cable/services.xml"));
    WriteWholeFile((target + "/bouquets.xml").toStdString(), Example("cable/bouquets.xml"));
    const auto unchanged = [&] {
        EXPECT_EQ(Read(target + "/services.xml"), Example("cable/services.xml"));
        EXPECT_EQ(Read(target + "/bouquets.xml"), Example("cable/bouquets.xml"));
        EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
    };
    const auto fetch = [&](const TFakeBox& box) {
        return Cli({"fetch", "--host", "127.0.0.1:" + QString::number(box.Port()), "--satpositions",
                    "/nonexistent.xml", target},
                   data);
    };
    {
        SCOPED_TRACE("data connection reset");
        TFakeBox box({.ResetDataThen226 = true});
        StorePair(box, "sat");
        EXPECT_EQ(fetch(box).Code, 1);
        unchanged();
    }
    {
        SCOPED_TRACE("bouquets file does not load");
        TFakeBox box;
        StorePair(box, "sat");
        box.Put(kDir + "bouquets.xml", "");
        EXPECT_EQ(fetch(box).Code, 1);
        unchanged();
    }
    EXPECT_FALSE(QDir(data + "/XantuEditor/backups").exists());
    TFakeBox box;
    StorePair(box, "sat");
    const TRun ok = fetch(box);
    ASSERT_EQ(ok.Code, 0) << ok.Err.toStdString();
    EXPECT_EQ(Read(target + "/services.xml"), Example("sat/services.xml"));
    EXPECT_EQ(Read(target + "/bouquets.xml"), Example("sat/bouquets.xml"));
    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);

    // The listing names the pair that was replaced, in tab-separated fields.
    const TRun list = Cli({"backups"}, data);
    ASSERT_EQ(list.Code, 0);
    const QList<QByteArray> lines = list.Out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << list.Out.toStdString();
    const QList<QByteArray> f = lines[0].split('\t');
    ASSERT_EQ(f.size(), 5);
    EXPECT_TRUE(QDateTime::fromString(QString::fromUtf8(f[0]), "yyyy-MM-dd HH:mm:ss").isValid())
        << f[0].data();
    EXPECT_EQ(f[1], "local");
    EXPECT_EQ(f[2], "2");
    EXPECT_EQ(f[3], "5");
    EXPECT_EQ(Read(QString::fromUtf8(f[4]) + "/services.xml"), Example("cable/services.xml"));
    EXPECT_EQ(Cli({"backups", "extra"}, data).Code, 2);
}

// The password from a file or the environment, so that it stays out of the
// process list; an option on the command line wins over the environment.
TEST(CliBox, PasswordFromFileOrEnvironment) {
    QTemporaryDir tmp;
    const QString data = tmp.path() + "/data";
    TFakeBox box({.Password = "geheim"});
    StorePair(box, "cable");
    const QString host = "127.0.0.1:" + QString::number(box.Port());
    const QString out = tmp.path() + "/out";
    WriteWholeFile((tmp.path() + "/pw").toStdString(), "geheim\n");
    const QStringList fetch = {"fetch", "--host", host, "--satpositions", "/nonexistent.xml"};

    EXPECT_EQ(Cli(fetch + QStringList{"--password-file", tmp.path() + "/pw", out}, data).Code, 0);
    EXPECT_EQ(Cli(fetch + QStringList{out}, data, {"XANTU_BOX_PASSWORD=geheim"}).Code, 0);
    EXPECT_EQ(Cli(fetch + QStringList{out}, data, {"XANTU_BOX_PASSWORD=falsch"}).Code, 1);
    EXPECT_EQ(Cli(fetch + QStringList{"--password-file", tmp.path() + "/pw", out}, data,
                  {"XANTU_BOX_PASSWORD=falsch"})
                  .Code,
              0);
    EXPECT_EQ(Cli(fetch + QStringList{"--password-file", tmp.path() + "/none", out}, data).Code, 2);
    EXPECT_EQ(
        Cli(fetch + QStringList{"--password", "x", "--password-file", tmp.path() + "/pw", out}, data).Code,
        2);
    const std::vector<std::string> cmds = box.Commands();
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), "PASS geheim"), 6); // 3 good runs, 2 files each
}

// What the box answers reaches the terminal without its control characters.
TEST(CliBox, BoxRepliesAreShownWithoutControlCharacters) {
    QTemporaryDir tmp;
    TFakeBox box({.RetrRefusal = "550 \x1b[2J\x1b]0;owned\x07gone\xe2\x80\xae"});
    const TRun run = Cli({"fetch", "--host", "127.0.0.1:" + QString::number(box.Port()), "--satpositions",
                          "/nonexistent.xml", tmp.path() + "/out"},
                         tmp.path() + "/data");
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains("550 ?[2J?]0;owned?gone?")) << run.Err.toStdString();
    EXPECT_FALSE(run.Err.contains('\x1b'));
    EXPECT_FALSE(run.Err.contains('\x07'));
}
