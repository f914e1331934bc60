#include "app/FailureReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString SystemErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("磁盘已满");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("磁盘空间配额已用完");
#endif
    case EFBIG:
        return QStringLiteral("文件太大");
    case EROFS:
        return QStringLiteral("磁盘或文件系统只读");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有权限");
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR:
        return QStringLiteral("这是一个文件夹，不是文件");
    case EEXIST:
        return QStringLiteral("文件已存在");
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return QStringLiteral("文件正被占用");
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return QStringLiteral("文件被锁定或暂时不能使用");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件太多");
    case ENOMEM:
        return QStringLiteral("内存不足");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("设备不存在");
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("符号链接层数太多");
#endif
    case EXDEV:
        return QStringLiteral("不能跨磁盘移动文件");
    case EINVAL:
        return QStringLiteral("文件名或操作无效");
    case ESPIPE:
    case EPIPE:
        return QStringLiteral("这不是普通文件");
    case EINTR:
        return QStringLiteral("操作被中断");
    default:
        break;
    }
    return QStringLiteral("系统错误（错误号%1）").arg(errorNumber);
}

#ifdef Q_OS_WIN
QString WindowsErrorReason(unsigned long code)
{
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SystemErrorReason(ENOSPC);
    case ERROR_WRITE_PROTECT:
        return SystemErrorReason(EROFS);
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return SystemErrorReason(EACCES);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return SystemErrorReason(ENOENT);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return SystemErrorReason(EEXIST);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return SystemErrorReason(EBUSY);
    case ERROR_FILENAME_EXCED_RANGE:
        return SystemErrorReason(ENAMETOOLONG);
    case ERROR_NOT_SAME_DEVICE:
        return SystemErrorReason(EXDEV);
    case ERROR_INVALID_NAME:
        return SystemErrorReason(EINVAL);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return SystemErrorReason(ENOMEM);
    case ERROR_CRC:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_IO_DEVICE:
        return SystemErrorReason(EIO);
    default:
        break;
    }
    return QStringLiteral("系统错误（错误号%1）").arg(code);
}
#endif

QString TableEngineReason(int resultCode, int systemErrno)
{
#ifdef Q_OS_WIN
    // The engine's system error is the Windows error code there.
    const auto SystemErrorReason = [](int code) {
        return WindowsErrorReason(static_cast<unsigned long>(code));
    };
#endif
    switch (resultCode & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return QStringLiteral("操作未完成");
    case SQLITE_READONLY:
        return QStringLiteral("文件只读，不能写入");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满");
    case SQLITE_CORRUPT:
        return QStringLiteral("文件已损坏");
    case SQLITE_NOTADB:
        return QStringLiteral("不是数据表文件");
    case SQLITE_CANTOPEN:
        if (systemErrno != 0)
            return QStringLiteral("文件无法打开（%1）").arg(SystemErrorReason(systemErrno));
        return QStringLiteral("文件无法打开");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("文件正被其他程序使用（已锁定）");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有权限");
    case SQLITE_IOERR:
        // A full disk often shows as an I/O error of the write or the sync.
        if (systemErrno != 0)
            return SystemErrorReason(systemErrno);
        return QStringLiteral("磁盘读写出错");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太大");
    case SQLITE_NOLFS:
        return QStringLiteral("文件太大");
    case SQLITE_PROTOCOL:
        return QStringLiteral("文件锁定失败");
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        return QStringLiteral("操作被中断");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合数据表的约束");
    case SQLITE_MISMATCH:
        return QStringLiteral("数据类型不符");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据表结构已被改变");
    case SQLITE_ERROR:
        return QStringLiteral("数据表文件的结构不符合要求");
    default:
        break;
    }
    return QStringLiteral("数据表引擎错误（代码%1）").arg(resultCode);
}

QString FileDeviceReason(QFileDevice::FileError kind, int errorNumber)
{
    if (errorNumber != 0)
        return SystemErrorReason(errorNumber);
    switch (kind) {
    case QFileDevice::NoError:
        return QStringLiteral("操作未完成");
    case QFileDevice::ReadError:
        return QStringLiteral("读取出错");
    case QFileDevice::WriteError:
        return QStringLiteral("写入出错");
    case QFileDevice::ResourceError:
        return QStringLiteral("磁盘已满或系统资源不足");
    case QFileDevice::OpenError:
        return QStringLiteral("文件无法打开");
    case QFileDevice::PermissionsError:
        return QStringLiteral("没有权限");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError:
        return QStringLiteral("无法替换原文件");
    case QFileDevice::RemoveError:
        return QStringLiteral("无法删除文件");
    case QFileDevice::ResizeError:
        return QStringLiteral("无法改变文件大小");
    case QFileDevice::AbortError:
        return QStringLiteral("操作被中断");
    case QFileDevice::TimeOutError:
        return QStringLiteral("操作超时");
    case QFileDevice::PositionError:
        return QStringLiteral("无法定位文件中的位置");
    case QFileDevice::UnspecifiedError:
    case QFileDevice::FatalError:
        break;
    }
    return QStringLiteral("文件操作失败");
}

QString NotARegularFileReason(const QString& path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return QString();
    if (info.isDir())
        return QStringLiteral("这是一个文件夹，不是文件");
    return QStringLiteral("这不是普通文件");
#else
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    const auto type = info.st_mode & S_IFMT;
    if (type == S_IFREG)
        return QString();
    if (type == S_IFDIR)
        return QStringLiteral("这是一个文件夹，不是文件");
#ifdef S_IFIFO
    if (type == S_IFIFO)
        return QStringLiteral("这是一个命名管道，不是普通文件");
#endif
#ifdef S_IFSOCK
    if (type == S_IFSOCK)
        return QStringLiteral("这是一个套接字，不是普通文件");
#endif
    if (type == S_IFCHR || type == S_IFBLK)
        return QStringLiteral("这是一个设备文件，不是普通文件");
    return QStringLiteral("这不是普通文件");
#endif
}

bool LessRoomThan(const QString& folder, qint64 bytes)
{
#ifdef Q_OS_WIN
    // Asked of the volume directly: QStorageInfo also wants the volume's
    // name, which not every drive gives.
    ULARGE_INTEGER available;
    const QString native = QDir::toNativeSeparators(folder);
    if (!GetDiskFreeSpaceExW(reinterpret_cast<const wchar_t*>(native.utf16()), &available, nullptr,
                             nullptr))
        return false;
    return available.QuadPart < quint64(bytes);
#else
    const QStorageInfo disk(folder);
    return disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < bytes;
#endif
}
