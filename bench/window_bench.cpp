// Time of opening a large list pair in the main window (both trees shown,
// filter applied, window painted), of one view-filter toggle, and of the
// expand and fold commands of both trees.
// Run: window_bench [services] [entries]   (offscreen by default)
#include "SyntheticLists.h"
#include "mainwindow/Main.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

using namespace xantu;

namespace {
void Write(const QString& path, const std::string& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), static_cast<qint64>(text.size())) < 0)
        std::exit(1);
}
double Ms(QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}
void Settle(TMain& win) {
    QApplication::processEvents();
    win.repaint();
    win.findChild<TBouquetView*>("VTB")->viewport()->repaint();
    win.findChild<TListTreeView*>("VTS")->viewport()->repaint();
    QApplication::processEvents();
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TSyntheticSizes sizes;
    sizes.Services = argc > 1 ? std::atoi(argv[1]) : 100000;
    sizes.BouquetEntries = argc > 2 ? std::atoi(argv[2]) : 30000;
    const TSyntheticPair pair = MakeSyntheticPair(sizes);
    QTemporaryDir dir;
    Write(dir.filePath("services.xml"), pair.Services);
    Write(dir.filePath("bouquets.xml"), pair.Bouquets);

    {
        TListDocument doc;
        QElapsedTimer t;
        t.start();
        doc.LoadListTexts(pair.Services, pair.Bouquets);
        std::printf("load sequence alone (no window): %.1f ms\n", Ms(t));
    }

    TScriptedDialogs dialogs;
    TMainOptions options;
    options.IniFileName = dir.filePath("Settings.ini");
    TMain win(dialogs, options);
    win.resize(1000, 700);
    win.show();
    Settle(win);

    for (int round = 0; round < 3; ++round) {
        dialogs.Files.push_back(dir.filePath("bouquets.xml"));
        QElapsedTimer t;
        t.start();
        win.findChild<QAction*>("MenuOpen")->trigger();
        Settle(win);
        const double open = Ms(t);

        t.restart();
        win.findChild<QAction*>("MenuRadio")->trigger();
        Settle(win);
        const double toggle1 = Ms(t);
        t.restart();
        win.findChild<QAction*>("MenuTV")->trigger();
        Settle(win);
        const double toggle2 = Ms(t);
        win.findChild<QAction*>("MenuTV")->trigger();
        win.findChild<QAction*>("MenuRadio")->trigger();

        t.restart();
        win.findChild<QAction*>("MenuExpandBouquets")->trigger();
        Settle(win);
        const double expand = Ms(t);

        t.restart();
        win.findChild<QTabWidget*>("Pages")->setCurrentWidget(win.findChild<QWidget*>("SheetServices"));
        win.findChild<QAction*>("MenuExpandServices")->trigger();
        Settle(win);
        const double expandServices = Ms(t);
        // Folding back by command after the whole structure was shown.
        t.restart();
        win.findChild<QAction*>("MenuShowOnlyTransponder")->trigger();
        Settle(win);
        const double onlyTransponders = Ms(t);
        win.findChild<QTabWidget*>("Pages")->setCurrentWidget(win.findChild<QWidget*>("SheetBouquets"));
        t.restart();
        win.findChild<QAction*>("MenuShowOnlyBouquets")->trigger();
        Settle(win);
        const double onlyBouquets = Ms(t);

        std::printf("services %d, entries %d: open %.1f ms, filter toggle %.1f / %.1f ms, "
                    "expand bouquets %.1f ms, expand services %.1f ms, only transponders %.1f ms, "
                    "only bouquets %.1f ms (%zu messages)\n",
                    sizes.Services, sizes.BouquetEntries, open, toggle1, toggle2, expand, expandServices,
                    onlyTransponders, onlyBouquets, static_cast<std::size_t>(dialogs.Messages.size()));
        dialogs.Messages.clear();
    }
    win.SetModified(false);
    return 0;
}
