#include "shell/DataSeeds.h"

#include "airtreat/TreatmentChart.h"
#include "app/DataDir.h"
#include "app/FailureReasons.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "chart/PointTable.h"
#include "duct/DuctSegment.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeSegment.h"
#include "psychro/WeatherTable.h"

#include <QFile>

void RegisterDataSeeds()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    // The chart's scratch point table starts empty.
    DataDir::registerSeed(QString::fromLatin1(PointTableFileName), [](const QString& fullPath) {
        CreateTableFile(fullPath, PointTableDeclaration());
    });
    // The treatment process view's scratch point table starts empty too.
    DataDir::registerSeed(
        QString::fromLatin1(TreatPointTableFileName),
        [](const QString& fullPath) { CreateTableFile(fullPath, TreatPointTableDeclaration()); });
    // The city weather table: every station of the seed built into the program.
    DataDir::registerSeed(QString::fromLatin1(WeatherTableFileName), [](const QString& fullPath) {
        QFile seed(QString::fromLatin1(WeatherSeedResource));
        if (!seed.open(QIODevice::ReadOnly))
            throw UserError(QStringLiteral("程序内的气象参数数据无法读取：%1")
                                .arg(FileDeviceReason(seed.error())));
        CreateWeatherTable(fullPath, ReadWeatherCsv(seed));
    });
    // The pipe type catalogue and the local-resistance coefficients: the
    // types, sizes and coefficients of the seed built into the program.
    DataDir::registerSeed(QString::fromLatin1(PipeCatalogueFileName), [](const QString& fullPath) {
        QFile seed(QString::fromLatin1(PipeTypesSeedResource));
        if (!seed.open(QIODevice::ReadOnly))
            throw UserError(QStringLiteral("程序内的管道规格数据无法读取：%1")
                                .arg(FileDeviceReason(seed.error())));
        WritePipeCatalogue(fullPath, ReadPipeTypesCsv(seed));
    });
    DataDir::registerSeed(
        QString::fromLatin1(LocalResistanceTableFileName), [](const QString& fullPath) {
            QFile seed(QString::fromLatin1(LocalResistanceSeedResource));
            if (!seed.open(QIODevice::ReadOnly))
                throw UserError(QStringLiteral("程序内的局部阻力系数数据无法读取：%1")
                                    .arg(FileDeviceReason(seed.error())));
            CreateLocalResistanceTable(fullPath, ReadLocalResistanceCsv(seed));
        });
    // The default segment table and the template new projects copy: both empty.
    for (const char* name : {PipeSegmentTableFileName, PipeProjectTemplateFileName})
        DataDir::registerSeed(QString::fromLatin1(name), [](const QString& fullPath) {
            CreateTableFile(fullPath, PipeSegmentTableDeclaration());
        });
    for (const char* name : {DuctSegmentTableFileName, DuctProjectTemplateFileName})
        DataDir::registerSeed(QString::fromLatin1(name), [](const QString& fullPath) {
            CreateTableFile(fullPath, DuctSegmentTableDeclaration());
        });
}
