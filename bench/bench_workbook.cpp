// Cost of "输出到Excel" for a large project: the results workbook of a
// 10,000-segment pipe project, and of the same project's duct counterpart,
// written from the open segment table (the table is built once, outside the
// timing).
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr int kSegments = 10000;

std::vector<std::vector<QVariant>> pipeSegments()
{
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < kSegments; ++i)
        records.push_back({QString::number(i + 1), 1.0 + i % 7, 28.2, 25.0, 0.4987, 151.43, 10.0,
                           QStringLiteral("闸阀"), 0.5, 2.0, 1514.3, 124.36, 1638.66});
    return records;
}

std::vector<std::vector<QVariant>> ductSegments()
{
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < kSegments; ++i)
        records.push_back({QString::number(i + 1), 5000.0, i % 2 ? QVariant() : QVariant("500"),
                           i % 2 ? QVariant("400") : QVariant(),
                           i % 2 ? QVariant("200") : QVariant(), 7.07, 1.02, 10.0,
                           QStringLiteral("弯头"), 0.25, 2.0, 10.2, 15.05, 25.25});
    return records;
}

template <class Write>
void writeWorkbook(benchmark::State& state, const TableDeclaration& declaration,
                   const std::vector<std::vector<QVariant>>& records, Write write)
{
    QTemporaryDir dir;
    const QString tablePath = dir.filePath(QStringLiteral("p.DB"));
    CreateTableFile(tablePath, declaration, records);
    RecordTableStore table(declaration);
    table.setPath(tablePath);
    table.open();
    const QString xlsx = dir.filePath(QStringLiteral("p.xlsx"));
    for (auto _ : state)
        write(xlsx, table);
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void BM_PipeWorkbook10000(benchmark::State& state)
{
    PipeWorkbookHeading heading;
    heading.time = QStringLiteral("09:05:07");
    heading.projectFileName = QStringLiteral("p.gzl");
    heading.settings = {QStringLiteral("焊接钢管(GB3092)"), QStringLiteral("95"),
                        QStringLiteral("70")};
    heading.meanTemperature = 82.5;
    heading.water = {0.3525e-6, 969.12, 0.2};
    writeWorkbook(state, PipeSegmentTableDeclaration(), pipeSegments(),
                  [&](const QString& xlsx, const RecordTableStore& table) {
                      WritePipeWorkbook(xlsx, heading, table);
                  });
}
BENCHMARK(BM_PipeWorkbook10000)->Unit(benchmark::kMillisecond);

void BM_DuctWorkbook10000(benchmark::State& state)
{
    const DuctWorkbookHeading heading{QStringLiteral("09:05:07"), QStringLiteral("p.dzl"), {}};
    writeWorkbook(state, DuctSegmentTableDeclaration(), ductSegments(),
                  [&](const QString& xlsx, const RecordTableStore& table) {
                      WriteDuctWorkbook(xlsx, heading, table);
                  });
}
BENCHMARK(BM_DuctWorkbook10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
