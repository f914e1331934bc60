// Moving a finished file into its place without ever replacing what is there.
#pragma once

#include <QString>

enum class MoveResult { Moved, TargetExists, Failed };

// Moves the file `from` to `to` on the same file system. Anything already at
// `to` — a file, a directory, a symbolic link whether or not it leads
// anywhere — is left as it is and TargetExists returned; the check and the
// move are one step, so a file appearing meanwhile is safe too. QFile::rename
// cannot promise this: when the system refuses to replace the target, it
// falls back to copying over it, through a dangling link as well.
// On Failed, *why (if given) holds the system's reason.
MoveResult MoveWithoutReplacing(const QString& from, const QString& to, QString* why = nullptr);
