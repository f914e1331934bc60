// Cost of the segment grid following its table: after each stored, edited or
// deleted segment the grid reloads the table's records and fits its columns
// to their titles and cells. A 10,000-segment pipe table; the grid at the
// pipe window's size.
#include "app/FormWidgets.h"
#include "app/RecordTableStore.h"
#include "app/TableGridModel.h"
#include "pipe/PipeSegment.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static void BM_PipeGridFollowsTable(benchmark::State& state)
{
    const int segments = int(state.range(0));
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < segments; ++i)
        records.push_back({QString::number(i + 1), 1.0 + i % 7, 28.2, 25.0, 0.4987, 151.43, 10.0,
                           QStringLiteral("90°煨弯及乙字弯"), 0.5, 2.0, 1514.3, 124.36, 1638.66});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.DB"));
    CreateTableFile(path, PipeSegmentTableDeclaration(), records);
    RecordTableStore table(PipeSegmentTableDeclaration());
    table.setPath(path);
    table.open();
    QTableView grid;
    grid.resize(784, 252);
    TableGridModel model(&table);
    SetUpRecordGrid(&grid, &model);
    for (auto _ : state)
        table.refresh();
    state.SetItemsProcessed(state.iterations() * segments);
}
BENCHMARK(BM_PipeGridFollowsTable)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
