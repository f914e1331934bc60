// Cost of "输出到Excel" for a large project: the results workbook of a pipe
// project of 10,000 and of 100,000 segments, and of the same project's duct
// counterpart, written from the open segment table (the table is built once,
// outside the timing).
//
//   bench_workbook --write-projects DIR [SEGMENTS]
// writes DIR/big.gzl and DIR/bigduct.dzl (100,000 segments unless given)
// with their segment tables instead, for bench/workbook_100k.sh to time
// ventacalc-cli's "--project … --xlsx" and listing on them.
#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "duct/DuctProject.h"
#include "pipe/PipeProject.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace
{

constexpr int kSegments = 100000;

std::vector<std::vector<QVariant>> pipeSegments(int count)
{
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < count; ++i)
        records.push_back({QString::number(i + 1), 1.0 + i % 7, 28.2, 25.0, 0.4987, 151.43, 10.0,
                           QStringLiteral("闸阀"), 0.5, 2.0, 1514.3, 124.36, 1638.66});
    return records;
}

std::vector<std::vector<QVariant>> ductSegments(int count)
{
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < count; ++i)
        records.push_back({QString::number(i + 1), 5000.0, i % 2 ? QVariant() : QVariant("500"),
                           i % 2 ? QVariant("400") : QVariant(),
                           i % 2 ? QVariant("200") : QVariant(), 7.07, 1.02, 10.0,
                           QStringLiteral("弯头"), 0.25, 2.0, 10.2, 15.05, 25.25});
    return records;
}

PipeWorkbookHeading pipeHeading()
{
    PipeWorkbookHeading heading;
    heading.time = QStringLiteral("09:05:07");
    heading.projectFileName = QStringLiteral("p.gzl");
    heading.settings = {QStringLiteral("焊接钢管(GB3092)"), QStringLiteral("95"),
                        QStringLiteral("70")};
    heading.meanTemperature = 82.5;
    heading.water = {0.3525e-6, 969.12, 0.2};
    return heading;
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
    state.SetItemsProcessed(state.iterations() * int64_t(records.size()));
}

void BM_PipeWorkbook(benchmark::State& state)
{
    const PipeWorkbookHeading heading = pipeHeading();
    writeWorkbook(state, PipeSegmentTableDeclaration(), pipeSegments(int(state.range(0))),
                  [&](const QString& xlsx, const RecordTableStore& table) {
                      WritePipeWorkbook(xlsx, heading, table);
                  });
}
BENCHMARK(BM_PipeWorkbook)->Arg(10000)->Arg(kSegments)->Unit(benchmark::kMillisecond);

void BM_DuctWorkbook(benchmark::State& state)
{
    const DuctWorkbookHeading heading{QStringLiteral("09:05:07"), QStringLiteral("p.dzl"), {}};
    writeWorkbook(state, DuctSegmentTableDeclaration(), ductSegments(int(state.range(0))),
                  [&](const QString& xlsx, const RecordTableStore& table) {
                      WriteDuctWorkbook(xlsx, heading, table);
                  });
}
BENCHMARK(BM_DuctWorkbook)->Arg(10000)->Arg(kSegments)->Unit(benchmark::kMillisecond);

// The two projects as the calculators leave them, for timing the command line.
int writeProjects(const QString& dir, int count)
{
    try {
        QDir().mkpath(dir);
        const QString pipe = dir + QStringLiteral("/big.gzl");
        const QString duct = dir + QStringLiteral("/bigduct.dzl");
        for (const QString& file : {pipe, ProjectTablePath(pipe), duct, ProjectTablePath(duct)})
            QFile::remove(file);
        WriteProjectFile(pipe, PipeProjectLines(pipeHeading().settings));
        CreateTableFile(ProjectTablePath(pipe), PipeSegmentTableDeclaration(), pipeSegments(count));
        WriteDuctProjectFile(duct, AirProperties{});
        CreateTableFile(ProjectTablePath(duct), DuctSegmentTableDeclaration(), ductSegments(count));
    } catch (const UserError& e) {
        std::fprintf(stderr, "%s\n", e.text().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--write-projects") == 0) {
        QCoreApplication app(argc, argv);
        return writeProjects(QString::fromLocal8Bit(argv[2]),
                             argc > 3 ? std::atoi(argv[3]) : kSegments);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
