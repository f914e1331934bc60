// ventacalc-cli: the calculations without windows, for scripts and batches.
#include "cli/Commands.h"

#include "app/FailureReasons.h"
#include "app/Numbers.h"
#include "app/Version.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileDevice>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <memory>

namespace
{
QList<CliCommand>& registry()
{
    static QList<CliCommand> commands;
    return commands;
}

void printOverview(QTextStream& out)
{
    out << "用法: ventacalc-cli <命令> [参数...]\n"
           "      ventacalc-cli <命令> --help   各命令的详细说明\n\n命令:\n";
    for (const auto& c : CliCommands())
        out << "  " << c.name.leftJustified(10) << c.summary << "\n";
    out << "\n选项:\n"
           "  --help     显示本说明（在命令之后: 该命令的说明）\n"
           "  --version  显示程序名称和版本\n"
           "\n退出状态:\n"
           "  0  计算成功（计算库的警告写到标准错误输出，结果照常输出）\n"
           "  1  数据目录或文件无法读写，或写标准输出失败\n"
           "  2  命令或输入被拒绝、计算失败：提示写到标准错误输出，标准输出没有结果\n";
}

// A command that draws text gets a QGuiApplication for the fonts; no window
// is ever shown, so the offscreen platform serves where none is named and
// the command runs without a display.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv)
{
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const auto& c : CliCommands()) {
        if (c.name == name && c.drawsText) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
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

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliIo io{out, err};

    QStringList args = app->arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printOverview(args.isEmpty() ? err : out);
        if (WriteFailed(io))
            return ReportWriteFailure(io);
        return args.isEmpty() ? ExitRefused : ExitOk;
    }
    if (args.first() == QLatin1String("--version")) {
        out << VersionText() << "\n";
        return WriteFailed(io) ? ReportWriteFailure(io) : ExitOk;
    }
    const QString name = args.takeFirst();
    for (const auto& c : CliCommands()) {
        if (c.name != name)
            continue;
        int status = ExitOk;
        if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h")))
            out << c.help;
        else
            status = c.run(args, io);
        if (WriteFailed(io))
            return ReportWriteFailure(io);
        return status;
    }
    err << "未知命令: " << QuotedInput(name) << "\n";
    printOverview(err);
    return ExitRefused;
}
