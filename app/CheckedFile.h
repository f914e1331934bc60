// The one way the program writes a user's or a data file, so that a full
// disk, a read-only medium or a vanished folder never costs the file that was
// there and never passes as saved.
//
// A replacing write goes to a temporary file beside the target (same folder,
// so the same disk), checks every write, flushes the bytes to the disk and
// only then renames the temporary over the target. On any failure the old
// file is left byte for byte as it was, the temporary is removed and a
// FileWriteError says that the file was not saved and why:
//   "无法写入文件“D:\calc\loop1.xlsx”，文件未保存：磁盘已满"
// A target that exists and is not a regular file (a folder, a device, a named
// pipe) is refused before anything is written: renaming over it would replace
// the device or pipe with a file. A symbolic link to a file is followed: the
// file it leads to is replaced and the link kept.
//
// An append (text reports) writes at the end of the file and, when a write
// fails, cuts the file back to its old length, so a failed block leaves
// nothing of itself behind.
#pragma once

#include "app/Numbers.h"

#include <QByteArray>
#include <QString>

// The message of a file that was not written: its path and the reason.
QString NotSavedMessage(const QString& path, const QString& reason);

// A file that was not written; text() is NotSavedMessage(path, reason).
class FileWriteError : public UserError
{
public:
    FileWriteError(const QString& path, const QString& reason)
        : UserError(NotSavedMessage(path, reason)), reason_(reason)
    {
    }
    QString reason() const { return reason_; }

private:
    QString reason_;
};

// Throws FileWriteError when `path` exists and is not a regular file.
void RequireRegularFileTarget(const QString& path);

// Whether the two paths name the same file (through links too; a hard link
// is the same file). A path that does not exist is compared by its name.
bool SameFile(const QString& a, const QString& b);

// Replaces (or creates) `path` with `bytes`. Throws FileWriteError.
void ReplaceFile(const QString& path, const QByteArray& bytes);

// Appends `bytes` to `path` (created when missing). On failure the file is
// cut back to its old length (a file this call created is removed) and
// FileWriteError thrown; when even that fails, the message says so.
void AppendToFile(const QString& path, const QByteArray& bytes);

// A replacing write in two steps, for files that are written by a library by
// name (SQLite, the workbook writer) or that go together (a project file and
// its table): the temporary file beside the target is made at construction,
// filled by write() or by whoever writes temporaryPath(), and renamed over
// the target by commit(). Destroyed uncommitted, it removes the temporary.
class PendingFile
{
public:
    // Checks the target and makes the temporary file. Throws FileWriteError.
    explicit PendingFile(const QString& target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    QString target() const { return target_; }
    // The temporary file, empty but existing until written.
    QString temporaryPath() const { return temporary_; }

    // Appends bytes to the temporary file. Throws FileWriteError (the
    // temporary is then removed; the target is untouched).
    void write(const QByteArray& bytes);
    // Flushes the temporary to the disk and checks it, without replacing the
    // target yet (commit() does this too when it was not done).
    void finish();
    // Renames the temporary over the target. Throws FileWriteError.
    void commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

private:
    [[noreturn]] void fail(const QString& reason);

    QString target_;   // as given, for messages
    QString resolved_; // the file that is replaced (a link's target)
    QString temporary_;
    int descriptor_ = -1;
    bool finished_ = false;
    bool committed_ = false;
};
