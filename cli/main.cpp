// ventacalc-cli: the calculations without windows, for scripts and batches.
#include "cli/Commands.h"

#include <QCoreApplication>
#include <charconv>
#include <clocale>

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

int Refuse(CliIo& io, const QString& message)
{
    io.err << message << "\n";
    return ExitRefused;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliIo io{out, err};

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printOverview(args.isEmpty() ? err : out);
        return args.isEmpty() ? ExitRefused : ExitOk;
    }
    const QString name = args.takeFirst();
    for (const auto& c : CliCommands()) {
        if (c.name != name)
            continue;
        if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
            out << c.help;
            return ExitOk;
        }
        return c.run(args, io);
    }
    err << "未知命令: " << name << "\n";
    printOverview(err);
    return ExitRefused;
}
