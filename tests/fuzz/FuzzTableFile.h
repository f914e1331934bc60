// The table targets' input as a file: each input is written afresh to one
// file in a private temporary folder, for the store to open.
#pragma once

#include "FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

class FuzzTableFile
{
public:
    FuzzTableFile()
        : dir_(scratchRoot() + QStringLiteral("/ventacalc-fuzz-XXXXXX")),
          path_(dir_.filePath(QStringLiteral("fuzz.DB")))
    {
        FUZZ_CHECK(dir_.isValid());
    }

    // Writes the input and returns the file's path. SQLite's side files left
    // by the previous input (a rollback journal, a WAL and its shared memory,
    // kept when a header asks for WAL) are removed first, so that no input is
    // read together with another's.
    const QString& write(const std::uint8_t* data, std::size_t size)
    {
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(path_ + QLatin1String(suffix));
        QFile file(path_);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                   static_cast<qint64>(size));
        return path_;
    }

private:
    // A file per input is written and opened thousands of times a second:
    // in memory (/dev/shm) where there is such a place, as a busy disk slows
    // the target tenfold.
    static QString scratchRoot()
    {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    }

    QTemporaryDir dir_;
    QString path_;
};
