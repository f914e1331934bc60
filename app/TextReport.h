// The report file of a calculator window: chosen by "新建(&N)" or "打开(&O)",
// appended to by "保存(&S)". Lines are written in GBK, each ended by CR LF.
#pragma once

#include <QString>
#include <QStringList>

class TextReportFile
{
public:
    // "新建(&N)": the first save empties the file (overwriting it).
    void chooseNew(const QString& path);
    // "打开(&O)": saves append to whatever the file holds.
    void chooseExisting(const QString& path);

    bool hasFile() const { return !fileName_.isEmpty(); }
    QString fileName() const { return fileName_; }
    bool isNew() const { return newFile_; }

    // Appends one block of lines. Throws UserError when the file cannot be
    // written; a new file stays new until a save succeeds.
    void append(const QStringList& lines);

private:
    QString fileName_;
    bool newFile_ = false;
};

// Width of a text in columns of a fixed-width layout: a CJK (any non-ASCII)
// character counts two.
int DisplayWidth(const QString& text);

// Lines as a text file holds them: GBK, each ended by CR LF. Throws
// UserError for a text GBK cannot hold.
QByteArray TextFileBytes(const QStringList& lines);

// Writes lines as a whole GBK CR LF text file, through a temporary file renamed
// over the target (a failure leaves the old file). Throws UserError.
void WriteTextFile(const QString& path, const QStringList& lines);
