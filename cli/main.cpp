// ventacalc-cli: the calculations without windows, for scripts and batches.
#include "cli/Commands.h"
#include "cli/Console.h"

#include "app/Numbers.h"
#include "app/Version.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIODevice>

#include <clocale>
#include <cstdio>
#include <memory>

namespace
{

// Standard error as the commands write to it. What a message quotes of the
// user's or a file's text (a path, a name read from a table) may hold control
// characters: they are written escaped (\x1b, \r), so that none reaches the
// terminal; only line ends pass.
class EscapingStandardError : public QIODevice
{
public:
    // console: where a console shows standard error (nullptr: a file or pipe).
    explicit EscapingStandardError(QIODevice* console) : console_(console)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override
    {
        QByteArray out;
        out.reserve(size);
        for (qint64 k = 0; k < size; ++k) {
            const auto byte = static_cast<unsigned char>(data[k]);
            // U+0080..U+009F are C2 80..C2 9F in UTF-8; a character is never
            // split between two writes of the stream.
            const bool c1 = byte == 0xC2 && k + 1 < size &&
                            static_cast<unsigned char>(data[k + 1]) >= 0x80 &&
                            static_cast<unsigned char>(data[k + 1]) < 0xA0;
            if (c1) {
                out += "\\x" + QByteArray::number(static_cast<unsigned char>(data[++k]), 16);
            } else if (byte == '\r') {
                out += "\\r";
            } else if (byte == '\t') {
                out += "\\t";
            } else if ((byte < 0x20 && byte != '\n') || byte == 0x7F) {
                out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
            } else {
                out += static_cast<char>(byte);
            }
        }
        if (console_)
            return console_->write(out) == out.size() ? size : -1;
        if (std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stderr) !=
                static_cast<size_t>(out.size()) ||
            std::fflush(stderr) != 0)
            return -1;
        return size;
    }

private:
    QIODevice* console_;
};

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
// the command runs without a display. On Windows the system's own platform
// draws without a window as well and is the one that knows the installed
// fonts.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv)
{
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const auto& c : CliCommands()) {
        if (c.name == name && c.drawsText) {
#ifndef Q_OS_WIN
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    UseUntranslatedStandardStreams();
    const std::unique_ptr<QIODevice> outputConsole = ConsoleDevice(stdout);
    const std::unique_ptr<QIODevice> errorConsole = ConsoleDevice(stderr);
    QTextStream out(stdout);
    if (outputConsole)
        out.setDevice(outputConsole.get());
    EscapingStandardError standardError(errorConsole.get());
    QTextStream err(&standardError);
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
