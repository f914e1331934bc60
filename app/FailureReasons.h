// Why a file could not be read or written, in the words the messages use:
// the system's error numbers and the table engine's result codes turned into
// short Chinese reasons ("磁盘已满", "没有写入权限"), so that no message ends
// in the system's own English (or in "未知错误"). A message keeps the file's
// name and adds the reason after it: "无法写入文件“a.txt”：磁盘已满".
#pragma once

#include <QFileDevice>
#include <QString>

// An errno value (ENOSPC, EROFS, EACCES, ...). A number without its own text
// still gives a Chinese reason that names it.
QString SystemErrorReason(int errorNumber);

#ifdef Q_OS_WIN
// A Windows error code (GetLastError: ERROR_DISK_FULL, ERROR_ACCESS_DENIED,
// ...), in the same words as the errno values that mean the same.
QString WindowsErrorReason(unsigned long code);
#endif

// An SQLite result code, primary or extended (SQLITE_FULL, SQLITE_IOERR_WRITE,
// ...). systemErrno is what the engine's last system call failed with
// (sqlite3_system_errno), 0 if none: it makes an I/O error or a file that
// cannot be opened precise ("磁盘已满", "没有权限").
QString TableEngineReason(int resultCode, int systemErrno = 0);

// A QFileDevice's failure. Its errorString() is English; the reason comes from
// errorNumber (errno right after the failing call) when it is set, else from
// the kind of error.
QString FileDeviceReason(QFileDevice::FileError kind, int errorNumber = 0);

// The reason an existing path cannot be written as a file, or an empty text
// when it is a regular file (or nothing is there): "这是一个文件夹",
// "这是一个设备文件", "这是一个命名管道" and the like.
QString NotARegularFileReason(const QString& path);

// Whether the disk holding folder has less than bytes left for this user;
// false when that cannot be told.
bool LessRoomThan(const QString& folder, qint64 bytes);
