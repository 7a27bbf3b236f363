// Times the service pool with 100,000 services, the window shown so the
// list lays out and paints as it would for a user: filling, sorting by name
// (both directions) and switching one service class on and off. Prints the
// median of several runs and whether it stays within its budget.
#include "SyntheticLists.h"
#include "core/ListDocument.h"
#include "pool/ServicePool.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of `step`, including the layout and painting it causes.
double Time(const std::function<void()>& step) {
    const auto t0 = std::chrono::steady_clock::now();
    step();
    QApplication::processEvents();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

bool Report(const char* what, const std::vector<double>& runs, double budget) {
    const double m = Median(runs);
    std::printf("%-34s median %8.2f ms  max %8.2f ms  budget %6.0f ms  %s\n", what, m,
                *std::max_element(runs.begin(), runs.end()), budget, m <= budget ? "ok" : "OVER");
    return m <= budget;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int services = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = 7;

    xantu::TSyntheticSizes sizes;
    sizes.Services = services;
    sizes.BouquetEntries = 0;
    const xantu::TSyntheticPair pair = xantu::MakeSyntheticPair(sizes);

    QTemporaryDir dir;
    xantu::TSilentHost host;
    xantu::TListDocument doc(&host);
    doc.LoadServices(pair.Services);
    xantu::TScriptedDialogs dialogs;
    xantu::TServicePool pool(doc, dir.filePath("Settings.ini"), dialogs);
    pool.SetServicePoolVisible(true);
    pool.MenuRadioClick(); // TV and radio shown, special hidden
    QApplication::processEvents();
    std::printf("services %d (tv %d, radio %d)\n", doc.CountAll, doc.CountTV, doc.CountRadio);

    bool ok = true;
    std::vector<double> fill, sortName, toggle;
    for (int i = 0; i < runs; ++i)
        fill.push_back(Time([&] { pool.FillServicePool(); }));
    ok &= Report("FillServicePool", fill, 300);
    for (int i = 0; i < runs; ++i) {
        pool.FillServicePool(); // back to file order
        QApplication::processEvents();
        if (pool.SortColumn() == xantu::PoolColName && pool.SortOrder() == Qt::DescendingOrder)
            pool.VTSPHeaderClick(xantu::PoolColSID);
        sortName.push_back(Time([&] { pool.VTSPHeaderClick(xantu::PoolColName); }));
    }
    ok &= Report("sort by name (header click)", sortName, 300);
    for (int i = 0; i < runs; ++i)
        toggle.push_back(Time([&] { pool.MenuSpezialClick(); }));
    ok &= Report("class toggle (special)", toggle, 50);
    std::printf("shown after toggles: %s\n", qPrintable(pool.StatusText()));
    return ok ? 0 : 1;
}
