#include "app/DataDir.h"

#include "app/FailureReasons.h"
#include "app/MoveWithoutReplacing.h"
#include "app/Numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <map>

namespace
{

QString& overrideDir()
{
    static QString dir;
    return dir;
}

std::map<QString, DataDir::SeedWriter>& seeds()
{
    static std::map<QString, DataDir::SeedWriter> registered;
    return registered;
}

// Creates the missing data file target from its seed. The seed is built in a
// directory of its own beside the target, so that no name the user might use
// is ever written or deleted, and moved into place only if nothing has
// appeared at the target meanwhile; the directory goes with whatever an
// interrupted build left in it.
void Seed(const QString& target, const DataDir::SeedWriter& writer)
{
    const QString cannotCreate = QStringLiteral("无法创建数据文件“%1”：%2");
    const QFileInfo info(target);
    QTemporaryDir work(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                       QStringLiteral(".XXXXXX"));
    if (!work.isValid()) {
        const int error = errno;
        throw UserError(cannotCreate.arg(target, error ? SystemErrorReason(error)
                                                       : QStringLiteral("无法建立临时文件夹")));
    }
    const QString built = work.filePath(info.fileName());
    try {
        writer(built);
    } catch (const UserError& error) {
        // The user knows the data file, not the work folder it is built in.
        QString text = error.text();
        text.replace(QDir::toNativeSeparators(built), QDir::toNativeSeparators(target));
        throw UserError(text.replace(built, target));
    }
    QString why;
    switch (MoveWithoutReplacing(built, target, &why)) {
    case MoveResult::Moved:
    case MoveResult::TargetExists: // someone else's file now: it is kept
        return;
    case MoveResult::Failed:
        throw UserError(cannotCreate.arg(target, why));
    }
}

} // namespace

namespace DataDir
{

QString path()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
#ifdef Q_OS_WIN
    return QStringLiteral("C:/VADE");
#else
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
#endif
}

QString file(const QString& name)
{
    return path() + QLatin1Char('/') + name;
}

void setOverride(const QString& dir)
{
    overrideDir() = dir.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
}

void registerSeed(const QString& fileName, SeedWriter writer)
{
    seeds().insert_or_assign(fileName, std::move(writer));
}

void ensure()
{
    const QString dir = path();
    if (!QDir().mkpath(dir))
        throw UserError(QStringLiteral("无法创建数据目录“%1”").arg(dir));
    // One file that cannot be created does not keep the others from being created.
    QStringList errors;
    for (const auto& [name, writer] : seeds()) {
        const QString target = file(name);
        const QFileInfo info(target);
        // exists() follows links: a link to an existing file is the user's
        // file; one that leads nowhere would have the seed written wherever
        // it points.
        if (info.isSymLink() && !info.exists()) {
            errors << QStringLiteral("数据文件“%1”是指向不存在的“%2”的符号链接，未创建该文件")
                          .arg(target, info.symLinkTarget());
            continue;
        }
        if (info.exists())
            continue;
        try {
            Seed(target, writer);
        } catch (const UserError& error) {
            errors << error.text();
        }
    }
    if (!errors.isEmpty())
        throw UserError(errors.join(QLatin1Char('\n')));
}

} // namespace DataDir
