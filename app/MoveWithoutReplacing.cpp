#include "app/MoveWithoutReplacing.h"

#include "app/FailureReasons.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

MoveResult MoveWithoutReplacing(const QString& from, const QString& to, QString* why)
{
    // Without MOVEFILE_REPLACE_EXISTING the move refuses any existing name.
    const QString nativeFrom = QDir::toNativeSeparators(from);
    const QString nativeTo = QDir::toNativeSeparators(to);
    if (::MoveFileExW(reinterpret_cast<const wchar_t*>(nativeFrom.utf16()),
                      reinterpret_cast<const wchar_t*>(nativeTo.utf16()), 0))
        return MoveResult::Moved;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return MoveResult::TargetExists;
    if (why)
        *why = WindowsErrorReason(error);
    return MoveResult::Failed;
}

#else

MoveResult MoveWithoutReplacing(const QString& from, const QString& to, QString* why)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int error = 0;
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return MoveResult::Moved;
    error = errno;
#endif
    // A file system without RENAME_NOREPLACE (or a system without renameat2):
    // a new hard link refuses an existing name just the same.
    if (error == 0 || error == EINVAL || error == ENOSYS) {
        if (::link(source.constData(), target.constData()) == 0) {
            ::unlink(source.constData());
            return MoveResult::Moved;
        }
        error = errno;
    }
    if (error == EEXIST)
        return MoveResult::TargetExists;
    if (why)
        *why = SystemErrorReason(error);
    return MoveResult::Failed;
}

#endif
