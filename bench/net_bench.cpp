// Receiving one file of 8 or 64 MB from a scripted box on loopback (the data
// path of every fetch), and listing 80 backups (20 of each kind) of a pair
// with 100,000 services, as the restore dialog and `xantu-lists backups` do.
#include "FakeBox.h"
#include "SyntheticLists.h"
#include "backups/Backups.h"
#include "net/FtpClient.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_FtpReceive(benchmark::State& state) {
    const QByteArray file(qsizetype(state.range(0)) << 20, 'x');
    xantu::test::TFakeBox box;
    box.Put("services.xml", file);
    xantu::TFtpRequest r;
    r.Host = "127.0.0.1";
    r.Port = box.Port();
    r.User = "root";
    r.Pass = "qvex5";
    r.File = "services.xml";
    xantu::TFtpClient client;
    for (auto _ : state) {
        QByteArray got;
        if (!client.Receive(r, got) || got.size() != file.size())
            state.SkipWithError("transfer failed");
        benchmark::DoNotOptimize(got.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_FtpReceive)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

void BM_BackupList(benchmark::State& state) {
    QTemporaryDir dir;
    xantu::TBackupStore store(dir.path() + "/b");
    xantu::TSyntheticSizes sizes;
    sizes.Services = 100000;
    const xantu::TSyntheticPair pair = xantu::MakeSyntheticPair(sizes);
    for (const char* kind : {xantu::TBackupStore::Local, xantu::TBackupStore::Fetched,
                             xantu::TBackupStore::Sent, xantu::TBackupStore::Box})
        for (int i = 0; i < 20; ++i)
            store.Keep(kind, {{"bouquets.xml", pair.Bouquets}, {"services.xml", pair.Services}});
    for (auto _ : state) {
        const auto list = store.List();
        if (list.size() != 80)
            state.SkipWithError("not 80 backups");
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["MB"] = double(pair.Bouquets.size() + pair.Services.size()) * 80 / 1e6;
}
BENCHMARK(BM_BackupList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
