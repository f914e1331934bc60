// The --csv batch shared by the calculating commands: rows are read, computed
// on every core and written in their input order as the file streams by, so
// a batch of any length runs in the same small memory.
#pragma once

#include "cli/Commands.h"

#include <functional>
#include <memory>

// What one row gives: its result columns (full precision), or none when the
// calculation failed; error holds refusals, failures and warnings.
struct BatchOutcome {
    QStringList results;
    QString error;
};

// Computes rows one after another on one thread; each worker owns its own
// library objects. inputs holds the row's text for every input column (empty
// where the row or the header has none).
class BatchWorker
{
public:
    virtual ~BatchWorker() = default;
    virtual BatchOutcome compute(const QStringList& inputs) = 0;
};

struct BatchCommand {
    QStringList inputColumns;  // the names a header may use, lower case
    QStringList outputColumns; // the output's columns before "error"
    // Outputs that echo the row's inputs: for every output column, the input
    // column it repeats (-1 for a result column). Empty: all are results.
    QList<int> echoedInputs;
    std::function<std::unique_ptr<BatchWorker>()> makeWorker;
};

// Runs the batch over the CSV file at path ("-" for standard input) on
// threads workers (0: BatchThreadCount()). A file that cannot be read, or a
// header with no known column, ends the batch before any row; a failing row
// only fills its error column. The output does not depend on threads.
int RunCsvBatch(const QString& path, const BatchCommand& command, int threads, CliIo& io);

// Workers used by a batch: the machine's cores.
int BatchThreadCount();
