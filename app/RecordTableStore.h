// Record tables: one .DB file is one SQLite database holding one table whose
// records keep their insertion (rowid) order. A window owns one
// RecordTableStore per table it shows, declares the table's columns once
// (TableDeclaration) and reaches the records through a current-record cursor:
//
//     table.setPath(DataDir::file("id_tu.DB"));
//     table.open();
//     for (table.first(); !table.eof(); table.next())
//         sum += table.number("t");          // field names in any case
//
// Every failure of the file or of a field access throws UserError with a
// Chinese message naming the file (and SQLite's own text where it has one);
// the handler's edge shows it and the window stays usable.
#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

struct sqlite3;

enum class FieldType {
    Text,    // at most `size` characters; longer texts are cut on write
    Double,  // a floating-point number, or empty
    Picture, // an image file's bytes (PNG, BMP, ...), or empty; read-only here
};

// One column: how it is stored and how the grid shows it. Meant for
// designated initializers; every member has a default so any may be left out.
struct FieldDeclaration {
    QString name{};
    FieldType type = FieldType::Double;
    int size = 0;      // Text: maximum length in characters (code points)
    QString title{};   // grid column title, used exactly (leading spaces kept)
    int gridWidth = 0; // grid column width in characters (a CJK character is two)
    QString pattern{}; // Double: display pattern ("0.00"); empty shows the shortest form
    Qt::Alignment alignment = Qt::AlignLeft; // horizontal alignment in the grid
};

// A grid's number column and text column, as most tables declare them.
inline FieldDeclaration NumberColumn(const char* name, const char* title, int gridWidth,
                                     const char* pattern, Qt::Alignment alignment = Qt::AlignRight)
{
    return {.name = QString::fromLatin1(name),
            .type = FieldType::Double,
            .title = QString::fromUtf8(title),
            .gridWidth = gridWidth,
            .pattern = QString::fromLatin1(pattern),
            .alignment = alignment};
}
inline FieldDeclaration TextColumn(const char* name, int size, const char* title, int gridWidth,
                                   Qt::Alignment alignment = Qt::AlignHCenter)
{
    return {.name = QString::fromLatin1(name),
            .type = FieldType::Text,
            .size = size,
            .title = QString::fromUtf8(title),
            .gridWidth = gridWidth,
            .alignment = alignment};
}

// The columns of one table, in their stored order.
struct TableDeclaration {
    QList<FieldDeclaration> fields;

    // Position of the field named `name` in any case, or -1.
    int indexOf(const QString& name) const;
};

// One table file. Closed at construction; setPath() then open(). Records are
// read into memory when the table opens (tables are small), and every change
// is written to the file at once (post, delete), so the file always holds
// what the grid shows.
//
// Values: a field holds a number, a text or nothing (a new record's fields
// hold nothing). Nothing reads as the empty text and as the number 0.
// - setText() on a Double field stores the number the text spells
//   (ParseNumber: strict, "." as decimal point); an empty or blank text
//   stores nothing; any other text throws ConversionError and changes nothing.
// - setNumber() on a Text field stores the shortest text that reads back as
//   the same number, cut to the field's size.
// - setNumber() of NaN on a Double field throws UserError and drops the
//   record buffer, like a text that is no number: SQLite would keep NaN as
//   nothing, so the record would read back as 0 after reopening.
// - text() of a Double field is its shortest round-trip form ("26", "12.63").
// - number() of a Text field parses it (ConversionError if it is no number).
// - A Picture field is read with picture() as a QImage (a null image for
//   nothing or for bytes that are no image); the program never writes one:
//   setText()/setNumber() on it throw UserError, text() reads it as empty and
//   number() throws UserError. Editing a record keeps its pictures.
//
// Editing follows the usual dataset states: append() or edit() starts a
// record buffer, setText()/setNumber() fill it, post() writes it (an appended
// record goes to the end of the table and becomes current), cancel() drops
// it. first(), next(), moveTo(), remove() and refresh() post a pending buffer
// first; close() drops it.
//
// Grids (TableGridModel) follow the table through contentsChanged(); a read
// loop suspends that with suspendUpdates()/resumeUpdates() or, better, a
// SuspendedUpdates guard.
class RecordTableStore : public QObject
{
    Q_OBJECT
public:
    explicit RecordTableStore(TableDeclaration declaration, QObject* parent = nullptr);
    ~RecordTableStore() override;

    const TableDeclaration& declaration() const { return declaration_; }

    // The file of the table. Only while closed (throws UserError when open).
    void setPath(const QString& path);
    QString path() const { return path_; }

    // Opens the file and positions on the first record; opening an open table
    // changes nothing. Throws UserError for a missing file, a file that is not
    // a database or holds no single table, a file holding anything the store
    // never creates (an index, a trigger, a view, another table), a locked
    // file, or columns other than the declared ones (names compared in any
    // case, in order).
    void open();
    // Closes the table (a pending buffer is dropped). Closing a closed table
    // does nothing.
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Navigation in table order. eof() is true past the last record, and so
    // on an empty table right after first(); there is no current record then.
    void first();
    void next();
    bool eof() const;
    int recordCount() const;
    // Position of the current record (0-based, table order); -1 at eof.
    int currentIndex() const;
    // Makes the record at `index` current (a grid click); out of range -> eof.
    void moveTo(int index);

    // Fields by name (any case) or by position. Reading needs a current
    // record (or a pending buffer); writing needs append() or edit().
    int fieldCount() const;
    QString fieldName(int index) const;
    QString text(const QString& field) const;
    double number(const QString& field) const;
    void setText(const QString& field, const QString& value);
    void setNumber(const QString& field, double value);
    QString textAt(int index) const;
    double numberAt(int index) const;
    void setTextAt(int index, const QString& value);
    void setNumberAt(int index, double value);
    // A Picture field's image (throws UserError for a field of another type).
    QImage picture(const QString& field) const;
    QImage pictureAt(int index) const;

    // Record editing. append() starts an empty record, edit() a copy of the
    // current one (throws at eof); post() writes the buffer, cancel() drops
    // it. remove() deletes the current record; the record after it becomes
    // current (eof when it was the last).
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    // Deletes every record in one write (a loop of remove() costs a disk
    // flush per record).
    void removeAll();
    bool isEditing() const { return editState_ != EditState::Browse; }

    // Reads the file again (changes made through another connection), keeping
    // the current record when it still exists.
    void refresh();

    // Bound grids stop following the table until the matching resume; nested
    // calls count. Changes made meanwhile reach the grids once, on the last
    // resume.
    void suspendUpdates();
    void resumeUpdates();
    bool updatesSuspended() const { return suspendCount_ > 0; }

    // One record as loaded: its rowid and one value per field (an invalid
    // QVariant for nothing, a QString for Text, a double for Double, a
    // QByteArray for Picture).
    struct Record {
        qint64 rowId = 0;
        std::vector<QVariant> values;
    };
    // Every record in table order (what grids show). Empty when closed.
    const std::vector<Record>& records() const { return records_; }

    // Reads a table too large to hold: opens the file with open()'s checks
    // and refusals, hands each record in table order to `visit` without
    // keeping it, and closes the table again. Only while closed (throws
    // UserError when open); a UserError thrown by `visit` ends the reading.
    void scan(const std::function<void(const Record&)>& visit);

signals:
    // The records, their number or the open state changed (not emitted while
    // updates are suspended).
    void contentsChanged();

private:
    enum class EditState { Browse, Append, Edit };

    void requireOpen() const;
    int requireField(const QString& field) const;
    void requireIndex(int index) const;
    void requireNotPicture(int index) const;
    const std::vector<QVariant>& currentValues() const;
    std::vector<QVariant>& buffer();
    void loadRecords();
    void postIfEditing();
    void changed();
    [[noreturn]] void fail(const QString& what) const;

    TableDeclaration declaration_;
    QString path_;
    sqlite3* db_ = nullptr;
    QString tableName_;
    std::vector<Record> records_;
    // While scan() runs, loaded records go here instead of into records_.
    const std::function<void(const Record&)>* visit_ = nullptr;
    int current_ = -1; // index into records_, -1 = eof
    EditState editState_ = EditState::Browse;
    std::vector<QVariant> buffer_;
    int suspendCount_ = 0;
    bool changedWhileSuspended_ = false;
};

// Suspends a table's grid updates for the life of the guard (read loops).
class SuspendedUpdates
{
public:
    explicit SuspendedUpdates(RecordTableStore& table) : table_(table) { table_.suspendUpdates(); }
    ~SuspendedUpdates() { table_.resumeUpdates(); }
    SuspendedUpdates(const SuspendedUpdates&) = delete;
    SuspendedUpdates& operator=(const SuspendedUpdates&) = delete;

private:
    RecordTableStore& table_;
};

// Closes the table and opens the file at path instead; when that fails, opens
// the file it had again and rethrows, so the table is never left closed or on
// a file that is no table.
void SwitchTableFile(RecordTableStore& table, const QString& path);

// Creates a table file with the declared columns (data-directory seeding and
// tests only: windows copy files, they never create tables), holding
// `records` in order: one value per field as Record::values holds them, a
// text cut to its field's size, a picture as the image file's bytes. They
// are written in one transaction, not a disk flush per record as posting
// would cost. The file is built beside `path` and renamed into place, so an
// existing file is never replaced: that throws UserError, as does any other
// failure.
void CreateTableFile(const QString& path, const TableDeclaration& declaration,
                     const std::vector<std::vector<QVariant>>& records = {});

// Copies a table file byte for byte to `target`, creating or replacing it
// through a temporary file beside it that is renamed over it only when
// complete. The source should not be open for writing meanwhile. Throws
// UserError naming both paths.
void CopyTableFile(const QString& source, const QString& target);
