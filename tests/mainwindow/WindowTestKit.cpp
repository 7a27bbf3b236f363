#include "WindowTestKit.h"

#include <QFile>

void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

void PrintTo(const QByteArray& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace xantu {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QAction* Action(const TMain& win, const char* name) {
    return Find<QAction>(&win, name);
}

TBouquetView* VTB(const TMain& win) {
    return Find<TBouquetView>(&win, "VTB");
}

TListTreeView* VTS(const TMain& win) {
    return Find<TListTreeView>(&win, "VTS");
}

TBouquetModel* VTBModel(const TMain& win) {
    return static_cast<TBouquetModel*>(VTB(win)->model());
}

TServicesModel* VTSModel(const TMain& win) {
    return static_cast<TServicesModel*>(VTS(win)->model());
}

QTabWidget* Pages(const TMain& win) {
    return Find<QTabWidget>(&win, "Pages");
}

QWidget* Sheet(const TMain& win, const char* name) {
    return Find<QWidget>(&win, name);
}

QLabel* StatPanel(const TMain& win, int i) {
    return Find<QLabel>(&win, QStringLiteral("StatPanel%1").arg(i).toLatin1().constData());
}

TPanelCopyMove* PanelCopyMove(const TMain& win) {
    return Find<TPanelCopyMove>(&win, "PanelCopyMove");
}

TBouquetInfo* BouquetRPanel(const TMain& win) {
    return Find<TBouquetInfo>(&win, "BouquetRPanel");
}

TServicesInfo* ServicesRPanel(const TMain& win) {
    return Find<TServicesInfo>(&win, "ServicesRPanel");
}

void SetBoxIP(TMain& win, const QString& ip) {
    TBoxSettings s = win.BoxSettings();
    s.BoxIP = ip;
    win.SetBoxSettings(s);
}

void TWindowTest::Start() {
    StopTesters();
    win.reset();
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    win = std::make_unique<TMain>(dialogs, options);
    bouquetsTester_ = std::make_unique<QAbstractItemModelTester>(
        VTBModel(*win), QAbstractItemModelTester::FailureReportingMode::Fatal);
    servicesTester_ = std::make_unique<QAbstractItemModelTester>(
        VTSModel(*win), QAbstractItemModelTester::FailureReportingMode::Fatal);
    win->show();
}

void TWindowTest::TearDown() {
    StopTesters();
}

void TWindowTest::StopTesters() {
    bouquetsTester_.reset();
    servicesTester_.reset();
}

void TWindowTest::Open(const QString& bouquetsFile) {
    dialogs.Files.push_back(bouquetsFile);
    Action(*win, "MenuOpen")->trigger();
}

QString TWindowTest::Example(const char* kind) {
    return QStringLiteral(XANTU_EXAMPLES_DIR "/%1/bouquets.xml").arg(QString::fromLatin1(kind));
}

PBNode TWindowTest::BouquetNode(std::initializer_list<int> path) const {
    PBNode n = Root();
    for (int i : path)
        n = n->Child(static_cast<std::size_t>(i));
    return n;
}

PBNode TWindowTest::Bouquet(const char* caption) const {
    for (std::size_t i = 0; Root() && i < Root()->ChildCount(); ++i)
        if (Root()->Child(i)->Data()->Caption == caption)
            return Root()->Child(i);
    return nullptr;
}

QStringList TWindowTest::Captions(PBNode node) {
    QStringList out;
    for (std::size_t i = 0; i < node->ChildCount(); ++i)
        out << QString::fromUtf8(node->Child(i)->Data()->Caption.data(),
                                 static_cast<qsizetype>(node->Child(i)->Data()->Caption.size()));
    return out;
}

QStringList TWindowTest::MessageTexts() const {
    QStringList t;
    for (const auto& m : dialogs.Messages)
        t << m.Text;
    return t;
}

} // namespace xantu
