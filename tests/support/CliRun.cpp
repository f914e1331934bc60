#include "support/CliRun.h"

#include <QProcess>

CliRun RunCli(const QStringList& args, const QByteArray& input)
{
    QProcess p;
    p.start(QStringLiteral(VENTACALC_CLI_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    CliRun run;
    const bool finished = p.waitForFinished(30000);
    if (finished && p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    else if (!finished)
        p.kill();
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
