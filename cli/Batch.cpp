#include "cli/Batch.h"

#include "app/CsvReader.h"
#include "app/FailureReasons.h"
#include "app/Numbers.h"
#include "psychro/ID_lib.h"

#include <QElapsedTimer>
#include <QFile>
#include <QVarLengthArray>
#include <atomic>
#include <cerrno>

#include <cstdio>
#include <thread>
#include <vector>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

// A block is read, computed on every worker and written before the next is
// read: its size bounds the memory whatever the file's length. Starting the
// workers costs tens of µs a block; 4,096 rows of cached results take about
// 1 ms on one worker.
constexpr qsizetype kRowsPerWorker = 4096;
constexpr size_t kRowsPerChunk = 256;                 // what a worker takes at a time
constexpr qsizetype kBlockBytes = qsizetype(8) << 20; // text of one block at most
constexpr qint64 kProgressAfter = 1000;               // ms before a progress line appears

using Row = CsvLineReader::Line;

bool stderrIsTerminal()
{
#ifdef Q_OS_UNIX
    return isatty(fileno(stderr)) != 0;
#else
    return false;
#endif
}

class Batch
{
public:
    Batch(const BatchCommand& command, QList<int> columnOf)
        : command_(command), columnOf_(std::move(columnOf))
    {
    }

    // Appends the output lines of the rows to out (UTF-8).
    void compute(BatchWorker& worker, const Row* begin, const Row* end, QByteArray& out) const
    {
        const bool plain = command_.echoedInputs.isEmpty();
        QVarLengthArray<QByteArrayView, 8> inputs(columnOf_.size());
        QVarLengthArray<QByteArrayView, 16> fields;
        for (const Row* row = begin; row != end; ++row) {
            if (plain && !row->tooLong && plainFields(row->text, fields)) {
                for (qsizetype k = 0; k < columnOf_.size(); ++k) {
                    const int column = columnOf_[k];
                    inputs[k] =
                        column >= 0 && column < fields.size() ? fields[column] : QByteArrayView();
                }
                if (worker.appendPlainRow(inputs, out))
                    continue;
            }
            out += computeRow(worker, *row).toUtf8();
        }
    }

private:
    // The fields of an ASCII line without quotes, each trimmed as
    // SplitCsvFields trims them; false for any other line.
    static bool plainFields(QByteArrayView text, QVarLengthArray<QByteArrayView, 16>& fields)
    {
        fields.clear();
        const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
        qsizetype begin = 0;
        for (qsizetype k = 0;; ++k) {
            if (k == text.size() || text[k] == ',') {
                qsizetype b = begin, e = k;
                while (b < e && blank(text[b]))
                    ++b;
                while (e > b && blank(text[e - 1]))
                    --e;
                fields.append(text.sliced(b, e - b));
                if (k == text.size())
                    return true;
                begin = k + 1;
            } else if (static_cast<unsigned char>(text[k]) >= 0x80 || text[k] == '"') {
                return false;
            }
        }
    }

    QString computeRow(BatchWorker& worker, const Row& line) const
    {
        QStringList inputs;
        inputs.reserve(columnOf_.size());
        BatchOutcome outcome;
        if (line.tooLong) {
            outcome.error = QStringLiteral("第%1行超过1 MiB，未计算").arg(line.number);
        } else {
            const QStringList fields = SplitCsvFields(QString::fromUtf8(line.text));
            for (const int column : columnOf_)
                inputs << (column >= 0 && column < fields.size() ? fields[column] : QString());
            try {
                outcome = worker.compute(inputs);
            } catch (const UserError& e) {
                outcome = {{}, e.text()};
            } catch (const std::exception&) {
                outcome = {{}, QString::fromUtf8(ID_lib::CalculationFailedText)};
            }
        }
        QString row;
        row.reserve(160);
        qsizetype result = 0;
        for (qsizetype c = 0; c < command_.outputColumns.size(); ++c) {
            const int echoed = c < command_.echoedInputs.size() ? command_.echoedInputs[c] : -1;
            if (echoed >= 0)
                row += CsvField(echoed < inputs.size() ? inputs[echoed] : QString());
            else if (result < outcome.results.size())
                row += outcome.results[result++];
            row += QLatin1Char(',');
        }
        row += CsvField(outcome.error);
        row += QLatin1Char('\n');
        return row;
    }

    const BatchCommand& command_;
    const QList<int> columnOf_;
};

// Writes text (UTF-8) as io.out would write it, straight to its device
// without turning it into a QString and back; false when the write failed.
bool writeUtf8(CliIo& io, const QByteArray& text)
{
    QIODevice* device = io.out.device();
    if (!device) {
        io.out << QString::fromUtf8(text);
        return !WriteFailed(io);
    }
    if (WriteFailed(io)) // what the stream holds goes first
        return false;
    if (device->write(text) != text.size())
        return false;
    // Checked to its end, as the stream's own flush does.
    auto* file = qobject_cast<QFileDevice*>(device);
    return !file || file->flush();
}

} // namespace

int BatchThreadCount()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

int RunCsvBatch(const QString& path, const BatchCommand& command, int threads, CliIo& io)
{
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(fileno(stdin), QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        const int error = errno;
        io.err << "无法读取文件“" << QuotedInput(path) << "”："
               << FileDeviceReason(file.error(), error) << "\n";
        return ExitFailure;
    }
    CsvLineReader reader(file);
    const auto headerLine = reader.next();
    if (!headerLine || headerLine->tooLong || headerLine->text.trimmed().isEmpty()) {
        io.err << "CSV文件没有列名行\n";
        return ExitRefused;
    }
    const QStringList header = SplitCsvFields(QString::fromUtf8(headerLine->text));
    QList<int> columnOf;
    bool anyKnown = false;
    for (const QString& name : command.inputColumns) {
        qsizetype found = -1;
        for (qsizetype c = 0; c < header.size(); ++c) {
            if (header[c].toLower() != name)
                continue;
            // A second column of the name would be passed over.
            if (found >= 0) {
                io.err << "CSV文件的列名行中列名“" << QuotedInput(header[c]) << "”出现了两次\n";
                return ExitRefused;
            }
            found = c;
        }
        columnOf << static_cast<int>(found);
        anyKnown = anyKnown || found >= 0;
    }
    if (!anyKnown) {
        io.err << "CSV文件的列名行中没有可识别的列名（可用的列名: "
               << command.inputColumns.join(QStringLiteral(", ")) << "）\n";
        return ExitRefused;
    }

    const Batch batch(command, columnOf);
    const int workerCount = threads > 0 ? threads : BatchThreadCount();
    std::vector<std::unique_ptr<BatchWorker>> workers;
    for (int w = 0; w < workerCount; ++w)
        workers.push_back(command.makeWorker());

    io.out << (command.outputColumns + QStringList{QStringLiteral("error")}).join(QLatin1Char(','))
           << "\n";
    const bool terminal = stderrIsTerminal();
    bool progressShown = false;
    QElapsedTimer clock;
    clock.start();
    qint64 done = 0;
    std::vector<Row> rows;
    std::vector<QByteArray> outputs; // one a chunk
    for (bool more = true; more;) {
        rows.clear();
        qsizetype bytes = 0;
        while (static_cast<qsizetype>(rows.size()) < kRowsPerWorker * workerCount &&
               bytes < kBlockBytes) {
            auto line = reader.next();
            if (!line) {
                more = false;
                break;
            }
            if (!line->tooLong && line->text.trimmed().isEmpty())
                continue;
            bytes += line->text.size();
            rows.push_back(std::move(*line));
        }
        // Workers take chunks of rows in turn, this thread one of them, so
        // that none waits for another held up by misses or by the machine.
        const size_t chunks = (rows.size() + kRowsPerChunk - 1) / kRowsPerChunk;
        if (outputs.size() < chunks)
            outputs.resize(chunks);
        std::atomic<size_t> nextChunk{0};
        const auto work = [&batch, &rows, &outputs, &nextChunk, chunks](BatchWorker& worker) {
            for (size_t c; (c = nextChunk.fetch_add(1)) < chunks;) {
                outputs[c].resize(0); // keeps its capacity from the last block
                batch.compute(worker, rows.data() + c * kRowsPerChunk,
                              rows.data() + std::min(rows.size(), (c + 1) * kRowsPerChunk),
                              outputs[c]);
            }
        };
        std::vector<std::thread> running;
        for (int w = 1; w < workerCount && static_cast<size_t>(w) < chunks; ++w)
            running.emplace_back([&work, &workers, w] { work(*workers[w]); });
        work(*workers[0]);
        for (auto& t : running)
            t.join();

        for (size_t c = 0; c < chunks; ++c) {
            if (!writeUtf8(io, outputs[c]))
                return ReportWriteFailure(io);
        }
        done += static_cast<qint64>(rows.size());
        if (terminal && clock.elapsed() > kProgressAfter) {
            const double seconds = clock.elapsed() / 1000.0;
            // Straight to the terminal: the line returns and clearing are
            // no message text (the stream escapes control characters).
            io.err.flush();
            const QByteArray progress = QStringLiteral("\r已计算 %1 行，每秒 %2 行")
                                            .arg(done)
                                            .arg(qRound64(done / seconds))
                                            .toUtf8();
            std::fputs(progress.constData(), stderr);
            std::fflush(stderr);
            progressShown = true;
        }
    }
    if (progressShown) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
    if (reader.readError()) {
        io.err << "读取文件“" << QuotedInput(path) << "”时出错：" << FileDeviceReason(file.error())
               << "\n";
        return ExitFailure;
    }
    return ExitOk;
}
