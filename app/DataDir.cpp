#include "app/DataDir.h"

#include "app/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
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
    for (const auto& [name, writer] : seeds()) {
        const QString target = file(name);
        if (QFileInfo::exists(target))
            continue;
        // Built beside the target and renamed, so that an interrupted start
        // never leaves half a data file that the next start would keep.
        const QString partial = target + QStringLiteral(".part");
        QFile::remove(partial);
        writer(partial);
        if (!QFile::rename(partial, target)) {
            QFile::remove(partial);
            throw UserError(QStringLiteral("无法创建数据文件“%1”").arg(target));
        }
    }
}

} // namespace DataDir
