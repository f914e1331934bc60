#include "app/DataSeeds.h"

#include "app/DataDir.h"
#include "app/RecordTableStore.h"
#include "chart/PointTable.h"

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
}
