// What every command shares: the registry, number texts, output checks and
// refusals.
#include "cli/Commands.h"

#include "app/FailureReasons.h"
#include "app/Numbers.h"
#include <QFileDevice>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

namespace
{

QList<CliCommand>& registry()
{
    static QList<CliCommand> commands;
    return commands;
}

} // namespace

CliCommandRegistrar::CliCommandRegistrar(const CliCommand& command)
{
    registry().append(command);
}

const QList<CliCommand>& CliCommands()
{
    return registry();
}

QString FullPrecision(double value)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(r.ptr - buffer));
}

bool WriteFailed(CliIo& io)
{
    io.out.flush();
    return io.out.status() != QTextStream::Ok;
}

int ReportWriteFailure(CliIo& io)
{
    // errno still holds the failed write's reason (the device's own text is English).
    const int error = errno;
    const auto* file = qobject_cast<const QFileDevice*>(io.out.device());
    io.err << "无法写入标准输出"
           << (file ? "：" + FileDeviceReason(file->error(), error) : QString()) << "\n";
    io.err.flush();
    return ExitFailure;
}

bool AllFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

int ParseThreadCount(const QString& text)
{
    constexpr int kMostThreads = 256;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || n > kMostThreads)
        throw UserError(QStringLiteral("线程数“%1”应为0到%2之间的整数")
                            .arg(QuotedInput(text))
                            .arg(kMostThreads));
    return n;
}

int Refuse(CliIo& io, const QString& message)
{
    io.err << message << "\n";
    return ExitRefused;
}
