#include "app/CheckedFile.h"

#include "app/FailureReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <algorithm>
#include <string>
#include <windows.h>
// <windows.h> names ReplaceFileW so; this file defines the program's own.
#undef ReplaceFile
#else
#include <unistd.h>
#endif

namespace
{

// How many names are tried for the temporary file before giving up (each
// attempt fails only when another file already has that random name).
constexpr int kTemporaryNameAttempts = 100;

QByteArray nativeName(const QString& path)
{
    return QFile::encodeName(path);
}

QString randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix +=
            QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return suffix;
}

#ifdef Q_OS_WIN

std::wstring widePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// A file handle, closed when it goes; close() says whether closing worked.
class WindowsFile
{
public:
    explicit WindowsFile(HANDLE handle) : handle_(handle) {}
    WindowsFile(const WindowsFile&) = delete;
    WindowsFile& operator=(const WindowsFile&) = delete;
    ~WindowsFile()
    {
        if (valid())
            ::CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    DWORD close()
    {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) ? 0 : ::GetLastError();
    }

private:
    HANDLE handle_;
};

// Opened for writing, others may read meanwhile; disposition as CreateFileW's
// (CREATE_NEW, OPEN_EXISTING, OPEN_ALWAYS).
HANDLE openForWriting(const QString& path, DWORD disposition)
{
    return ::CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Writes all of bytes at the file's position; returns 0 or the failing
// write's error (a short write is continued, so a full disk shows as such).
DWORD writeAll(HANDLE file, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const auto chunk = static_cast<DWORD>(std::min<qsizetype>(left, qsizetype(1) << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr))
            return ::GetLastError();
        if (written == 0)
            return ERROR_DISK_FULL;
        data += written;
        left -= written;
    }
    return 0;
}

DWORD toEnd(HANDLE file)
{
    LARGE_INTEGER zero{};
    return ::SetFilePointerEx(file, zero, nullptr, FILE_END) ? 0 : ::GetLastError();
}

DWORD flushToDisk(HANDLE file)
{
    return ::FlushFileBuffers(file) ? 0 : ::GetLastError();
}

#else

// Writes all of bytes to the descriptor; returns 0 or the errno of the
// failing write (a short write is continued, so a full disk shows as ENOSPC).
int writeAll(int descriptor, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return ENOSPC;
        data += written;
        left -= written;
    }
    return 0;
}

// fsync, where the file system supports it: some (and some devices) refuse
// it with EINVAL, which says nothing about the bytes.
int syncToDisk(int descriptor)
{
    while (::fsync(descriptor) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EINVAL || errno == ENOTSUP ? 0 : errno;
    }
    return 0;
}

int closeChecked(int descriptor)
{
    if (::close(descriptor) != 0 && errno != EINTR)
        return errno;
    return 0;
}

#endif

} // namespace

QString NotSavedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("无法写入文件“%1”，文件未保存：%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

void RequireRegularFileTarget(const QString& path)
{
    const QString reason = NotARegularFileReason(path);
    if (!reason.isEmpty())
        throw FileWriteError(path, reason);
}

bool SameFile(const QString& a, const QString& b)
{
#ifndef Q_OS_WIN
    struct stat first, second;
    if (::stat(nativeName(a).constData(), &first) == 0 &&
        ::stat(nativeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
    const QFileInfo one(a), other(b);
    const QString left = one.exists() ? one.canonicalFilePath() : one.absoluteFilePath();
    const QString right = other.exists() ? other.canonicalFilePath() : other.absoluteFilePath();
#ifdef Q_OS_WIN
    return QDir::cleanPath(left).compare(QDir::cleanPath(right), Qt::CaseInsensitive) == 0;
#else
    return QDir::cleanPath(left) == QDir::cleanPath(right);
#endif
}

void ReplaceFile(const QString& path, const QByteArray& bytes)
{
    PendingFile file(path);
    file.write(bytes);
    file.commit();
}

PendingFile::PendingFile(const QString& target) : target_(target), resolved_(target)
{
    if (target.isEmpty())
        throw FileWriteError(target, QStringLiteral("没有指定文件名"));
    const QFileInfo info(target);
    if (info.isSymLink()) {
        resolved_ = info.canonicalFilePath();
        if (resolved_.isEmpty())
            throw FileWriteError(target, QStringLiteral("这是一个指向不存在文件的符号链接"));
    }
    RequireRegularFileTarget(resolved_);
    const QFileInfo resolvedInfo(resolved_);
    const QString stem = resolvedInfo.absolutePath() + QStringLiteral("/.") +
                         resolvedInfo.fileName() + QLatin1Char('.');
#ifdef Q_OS_WIN
    // The replacement gets the folder's permissions, as a new file would.
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = stem + randomSuffix();
        WindowsFile created(openForWriting(temporary_, CREATE_NEW));
        const DWORD error = created.valid() ? created.close() : ::GetLastError();
        if (error == 0)
            return;
        if (created.valid() || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
            QFile::remove(temporary_);
            temporary_.clear();
            throw FileWriteError(target_, WindowsErrorReason(error));
        }
    }
#else
    // The old file's permissions go to its replacement; a new file gets the
    // usual ones (0666 less the umask), as the open below gives it.
    struct stat old;
    const bool replacing = ::stat(nativeName(resolved_).constData(), &old) == 0;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_ = stem + randomSuffix();
        descriptor_ = ::open(nativeName(temporary_).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            if (replacing)
                (void)::fchmod(descriptor_, old.st_mode & 07777);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    temporary_.clear();
    throw FileWriteError(target_, SystemErrorReason(error));
#endif
    temporary_.clear();
    throw FileWriteError(target_, QStringLiteral("无法建立临时文件"));
}

PendingFile::~PendingFile()
{
    discard();
}

void PendingFile::fail(const QString& reason)
{
    discard();
    throw FileWriteError(target_, reason);
}

void PendingFile::discard()
{
    if (committed_ || temporary_.isEmpty())
        return;
#ifndef Q_OS_WIN
    if (descriptor_ >= 0)
        ::close(descriptor_);
#endif
    descriptor_ = -1;
    QFile::remove(temporary_);
    temporary_.clear();
}

void PendingFile::write(const QByteArray& bytes)
{
    if (temporary_.isEmpty() || finished_)
        fail(QStringLiteral("文件已经写完"));
#ifdef Q_OS_WIN
    // Continued at its end (a library may have written it by name meanwhile).
    WindowsFile file(openForWriting(temporary_, OPEN_EXISTING));
    DWORD error = file.valid() ? toEnd(file.get()) : ::GetLastError();
    if (error == 0)
        error = writeAll(file.get(), bytes);
    if (error == 0)
        error = file.close();
    if (error != 0)
        fail(WindowsErrorReason(error));
#else
    if (descriptor_ < 0) {
        // Written by name meanwhile: continue at its end.
        descriptor_ = ::open(nativeName(temporary_).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (descriptor_ < 0)
            fail(SystemErrorReason(errno));
    }
    if (const int error = writeAll(descriptor_, bytes))
        fail(SystemErrorReason(error));
#endif
}

void PendingFile::finish()
{
    if (finished_)
        return;
    if (temporary_.isEmpty())
        fail(QStringLiteral("临时文件已被删除"));
#ifdef Q_OS_WIN
    // Flushed from the system's cache to the disk: a delayed write error
    // shows only here.
    WindowsFile file(openForWriting(temporary_, OPEN_EXISTING));
    DWORD error = file.valid() ? flushToDisk(file.get()) : ::GetLastError();
    if (error == 0)
        error = file.close();
    if (error != 0)
        fail(WindowsErrorReason(error));
#else
    // A file a library wrote by name is opened again to flush what it left
    // in the system's cache: a delayed write error shows only here.
    if (descriptor_ < 0) {
        descriptor_ = ::open(nativeName(temporary_).constData(), O_WRONLY | O_CLOEXEC);
        if (descriptor_ < 0)
            fail(SystemErrorReason(errno));
    }
    const int synced = syncToDisk(descriptor_);
    const int closed = closeChecked(descriptor_);
    descriptor_ = -1;
    if (synced != 0 || closed != 0)
        fail(SystemErrorReason(synced != 0 ? synced : closed));
#endif
    finished_ = true;
}

void PendingFile::commit()
{
    if (committed_)
        return;
    finish();
    // Nothing may have taken the target's place meanwhile that a rename
    // would replace: a folder fails the rename anyway, a pipe or device not.
    const QString reason = NotARegularFileReason(resolved_);
    if (!reason.isEmpty())
        fail(reason);
#ifdef Q_OS_WIN
    const QString from = QDir::toNativeSeparators(temporary_);
    const QString to = QDir::toNativeSeparators(resolved_);
    if (!::MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                       reinterpret_cast<const wchar_t*>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(WindowsErrorReason(::GetLastError()));
#else
    if (::rename(nativeName(temporary_).constData(), nativeName(resolved_).constData()) != 0)
        fail(SystemErrorReason(errno));
#endif
    committed_ = true;
}

void AppendToFile(const QString& path, const QByteArray& bytes)
{
    RequireRegularFileTarget(path);
#ifdef Q_OS_WIN
    const HANDLE opened = openForWriting(path, OPEN_ALWAYS);
    const bool created = opened != INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_ALREADY_EXISTS;
    WindowsFile file(opened);
    if (!file.valid())
        throw FileWriteError(path, WindowsErrorReason(::GetLastError()));
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        throw FileWriteError(path, QStringLiteral("这不是普通文件"));
    LARGE_INTEGER oldSize{};
    DWORD error = ::GetFileSizeEx(file.get(), &oldSize) ? toEnd(file.get()) : ::GetLastError();
    if (error == 0)
        error = writeAll(file.get(), bytes);
    if (error == 0)
        error = flushToDisk(file.get());
    if (error == 0) {
        error = file.close();
        if (error == 0)
            return;
    }
    // Undo: the file ends where it ended before this block.
    bool undone;
    if (created) {
        if (file.valid())
            file.close();
        undone = ::DeleteFileW(widePath(path).c_str()) != 0;
    } else {
        WindowsFile again(file.valid() ? INVALID_HANDLE_VALUE
                                       : openForWriting(path, OPEN_EXISTING));
        const HANDLE handle = file.valid() ? file.get() : again.get();
        undone = handle != INVALID_HANDLE_VALUE &&
                 ::SetFilePointerEx(handle, oldSize, nullptr, FILE_BEGIN) &&
                 ::SetEndOfFile(handle) && flushToDisk(handle) == 0;
        if (file.valid())
            undone = file.close() == 0 && undone;
        else if (again.valid())
            undone = again.close() == 0 && undone;
    }
    const QString reason = WindowsErrorReason(error);
    throw FileWriteError(path, undone ? reason
                                      : reason + QStringLiteral("；文件末尾可能留有不完整的内容"));
#else
    const QByteArray name = nativeName(path);
    // O_NONBLOCK: a named pipe put at the path meanwhile must not hang the
    // program in open(); it is refused below.
    int descriptor = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
    bool created = false;
    if (descriptor < 0 && errno == ENOENT) {
        descriptor =
            ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = descriptor >= 0;
    }
    if (descriptor < 0)
        throw FileWriteError(path, SystemErrorReason(errno));
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        throw FileWriteError(path, QStringLiteral("这不是普通文件"));
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    const off_t oldSize = info.st_size;
    int error = writeAll(descriptor, bytes);
    if (error == 0)
        error = syncToDisk(descriptor);
    if (error == 0) {
        error = closeChecked(descriptor);
        descriptor = -1;
        if (error == 0)
            return;
    }
    // Undo: the file ends where it ended before this block.
    bool undone;
    if (created) {
        if (descriptor >= 0)
            ::close(descriptor);
        undone = ::unlink(name.constData()) == 0;
    } else {
        if (descriptor < 0)
            descriptor = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        undone =
            descriptor >= 0 && ::ftruncate(descriptor, oldSize) == 0 && syncToDisk(descriptor) == 0;
        if (descriptor >= 0)
            undone = closeChecked(descriptor) == 0 && undone;
    }
    const QString reason = SystemErrorReason(error);
    throw FileWriteError(path, undone ? reason
                                      : reason + QStringLiteral("；文件末尾可能留有不完整的内容"));
#endif
}
