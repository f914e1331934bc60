#include "app/RecordTableStore.h"

#include "app/CheckedFile.h"
#include "app/FailureReasons.h"
#include "app/MoveWithoutReplacing.h"
#include "app/Numbers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cmath>
#include <sqlite3.h>

namespace
{

// The name given to the one table of a file we create; files made elsewhere
// may name their single table as they like.
const char kCreatedTableName[] = "records";

QString quoted(const QString& identifier)
{
    QString text = identifier;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Why the engine's last call on db failed, in the messages' words (its own
// texts are English).
QString sqliteText(sqlite3* db)
{
    return TableEngineReason(sqlite3_extended_errcode(db), sqlite3_system_errno(db));
}

// The first `size` characters, counting code points so that a CJK name or a
// character outside the BMP is never split.
QString cutToChars(const QString& text, int size)
{
    int units = 0;
    int chars = 0;
    while (units < text.size() && chars < size) {
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
        ++chars;
    }
    return text.left(units);
}

// The declared type of a column we create.
QString columnType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return QStringLiteral(" TEXT");
    case FieldType::Double:
        return QStringLiteral(" REAL");
    case FieldType::Picture:
        break;
    }
    return QStringLiteral(" BLOB");
}

// One entry of a file's schema (sqlite_master): "table", "index", "view" or
// "trigger", and its name.
struct SchemaObject {
    QString type;
    QString name;
};

QString schemaKind(const QString& type)
{
    if (type == QLatin1String("trigger"))
        return QStringLiteral("触发器");
    if (type == QLatin1String("view"))
        return QStringLiteral("视图");
    if (type == QLatin1String("index"))
        return QStringLiteral("索引");
    if (type == QLatin1String("table"))
        return QStringLiteral("数据表");
    return QStringLiteral("对象");
}

QString columnText(sqlite3_stmt* statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

// Shortest text that reads back as the same double, C locale.
QString shortestText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement(sqlite3* db, const QString& sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        rc_ = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool prepared() const { return rc_ == SQLITE_OK; }
    sqlite3_stmt* get() const { return stmt_; }

    void bind(int position, const QVariant& value)
    {
        if (!value.isValid()) {
            sqlite3_bind_null(stmt_, position);
        } else if (value.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt_, position, value.toDouble());
        } else if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob64(stmt_, position, bytes.constData(), sqlite3_uint64(bytes.size()),
                                SQLITE_TRANSIENT);
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            sqlite3_bind_text(stmt_, position, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT);
        }
    }

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(stmt_); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_ERROR;
};

// Appends records to the one table of a file being created, in one
// transaction (left open on failure: the file is thrown away). Returns
// SQLite's result code.
int insertRecords(sqlite3* db, const TableDeclaration& declaration,
                  const std::vector<std::vector<QVariant>>& records)
{
    QStringList placeholders;
    for (int k = 0; k < declaration.fields.size(); ++k)
        placeholders << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                            .arg(quoted(QString::fromLatin1(kCreatedTableName)),
                                 placeholders.join(QStringLiteral(", ")));
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    Statement statement(db, sql);
    if (!statement.prepared())
        return sqlite3_errcode(db);
    for (const std::vector<QVariant>& record : records) {
        for (size_t k = 0; k < record.size(); ++k) {
            const FieldDeclaration& field = declaration.fields[int(k)];
            if (field.type == FieldType::Text && record[k].isValid())
                statement.bind(int(k) + 1, cutToChars(record[k].toString(), field.size));
            else if (field.type == FieldType::Picture && record[k].isValid())
                statement.bind(int(k) + 1, record[k].toByteArray());
            else
                statement.bind(int(k) + 1, record[k]);
        }
        if (statement.step() != SQLITE_DONE)
            return sqlite3_errcode(db);
        sqlite3_reset(statement.get());
    }
    return sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace

int TableDeclaration::indexOf(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

RecordTableStore::RecordTableStore(TableDeclaration declaration, QObject* parent)
    : QObject(parent), declaration_(std::move(declaration))
{
}

RecordTableStore::~RecordTableStore()
{
    if (db_)
        sqlite3_close(db_);
}

void RecordTableStore::setPath(const QString& path)
{
    if (isOpen())
        throw UserError(QStringLiteral("数据表“%1”已打开，不能改换文件").arg(path_));
    path_ = path;
}

void RecordTableStore::open()
{
    if (isOpen())
        return;
    const QString cannotOpen = QStringLiteral("无法打开数据表“%1”：%2");
    if (path_.isEmpty())
        throw UserError(cannotOpen.arg(path_, QStringLiteral("没有指定文件")));
    if (!QFileInfo(path_).isFile()) {
        const QString notAFile = NotARegularFileReason(path_);
        throw UserError(
            cannotOpen.arg(path_, notAFile.isEmpty() ? QStringLiteral("文件不存在") : notAFile));
    }

    sqlite3* db = nullptr;
    // Without SQLITE_OPEN_CREATE: the store never makes a table file itself.
    const int rc = sqlite3_open_v2(path_.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db ? sqliteText(db) : TableEngineReason(rc);
        sqlite3_close(db);
        throw UserError(cannotOpen.arg(path_, reason));
    }
    db_ = db;
    try {
        // A trigger or view added to the file by another program would run
        // or answer behind the store's back; such a file is refused below,
        // and this connection never runs one that appears later.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        // The first read of the file: a file that is no database or is
        // locked by a writer fails here.
        Statement schema(db_, QStringLiteral("SELECT type, name FROM sqlite_master"));
        if (!schema.prepared())
            throw UserError(cannotOpen.arg(path_, sqliteText(db_)));
        QStringList names;
        SchemaObject foreign;
        int step;
        while ((step = schema.step()) == SQLITE_ROW) {
            const SchemaObject object{columnText(schema.get(), 0), columnText(schema.get(), 1)};
            if (object.type == QLatin1String("table") &&
                !object.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
                names << object.name;
            else if (foreign.type.isEmpty())
                foreign = object;
        }
        if (step != SQLITE_DONE)
            throw UserError(cannotOpen.arg(path_, sqliteText(db_)));
        if (names.size() != 1)
            throw UserError(cannotOpen.arg(
                path_, names.isEmpty() ? QStringLiteral("文件中没有数据表")
                                       : QStringLiteral("文件中有%1个数据表").arg(names.size())));
        // The store creates one table and nothing else (no index, no
        // trigger, no view): anything more was put there by another program.
        if (!foreign.type.isEmpty())
            throw UserError(cannotOpen.arg(
                path_, QStringLiteral("文件中含有本程序不会创建的%1“%2”，可能已被其他程序修改")
                           .arg(schemaKind(foreign.type), QuotedInput(foreign.name))));
        tableName_ = names.first();

        Statement columns(db_, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(tableName_)));
        QStringList found;
        while (columns.prepared() && columns.step() == SQLITE_ROW)
            found << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)));
        QStringList expected;
        bool same = found.size() == declaration_.fields.size();
        for (int i = 0; i < declaration_.fields.size(); ++i) {
            expected << declaration_.fields[i].name;
            if (same && found[i].compare(expected.last(), Qt::CaseInsensitive) != 0)
                same = false;
        }
        if (!same)
            throw UserError(QStringLiteral("无法打开数据表“%1”：字段应为 %2，文件中为 %3")
                                .arg(path_, expected.join(QStringLiteral(", ")),
                                     QuotedInput(found.join(QStringLiteral(", ")))));
        loadRecords();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        records_.clear();
        throw;
    }
    current_ = records_.empty() ? -1 : 0;
    editState_ = EditState::Browse;
    changed();
}

void RecordTableStore::close()
{
    if (!isOpen())
        return;
    sqlite3_close(db_);
    db_ = nullptr;
    records_.clear();
    current_ = -1;
    editState_ = EditState::Browse;
    buffer_.clear();
    changed();
}

void RecordTableStore::loadRecords()
{
    QStringList columns{QStringLiteral("rowid")};
    for (const FieldDeclaration& field : declaration_.fields)
        columns << quoted(field.name);
    Statement select(db_, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                              .arg(columns.join(QStringLiteral(", ")), quoted(tableName_)));
    if (!select.prepared())
        fail(QStringLiteral("无法读取数据表“%1”：%2").arg(path_, sqliteText(db_)));

    std::vector<Record> records;
    int step;
    while ((step = select.step()) == SQLITE_ROW) {
        Record record;
        record.rowId = sqlite3_column_int64(select.get(), 0);
        record.values.reserve(size_t(declaration_.fields.size()));
        for (int i = 0; i < declaration_.fields.size(); ++i) {
            const int column = i + 1;
            const int type = sqlite3_column_type(select.get(), column);
            if (type == SQLITE_NULL) {
                record.values.emplace_back();
                continue;
            }
            if (declaration_.fields[i].type == FieldType::Picture) {
                // Whatever the column holds is taken as the image file's
                // bytes; bytes that are no image show as no picture.
                const int size = sqlite3_column_bytes(select.get(), column);
                const char* bytes =
                    static_cast<const char*>(sqlite3_column_blob(select.get(), column));
                record.values.emplace_back(QByteArray(bytes, bytes ? size : 0));
                continue;
            }
            if (declaration_.fields[i].type == FieldType::Double &&
                (type == SQLITE_INTEGER || type == SQLITE_FLOAT)) {
                record.values.emplace_back(sqlite3_column_double(select.get(), column));
                continue;
            }
            const QString text = QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(select.get(), column)));
            if (declaration_.fields[i].type == FieldType::Text) {
                record.values.emplace_back(text);
                continue;
            }
            try {
                record.values.emplace_back(ParseNumber(text));
            } catch (const ConversionError&) {
                throw UserError(QStringLiteral("数据表“%1”的数值字段“%2”中有非数值“%3”")
                                    .arg(path_, declaration_.fields[i].name, QuotedInput(text)));
            }
        }
        if (visit_)
            (*visit_)(record);
        else
            records.push_back(std::move(record));
    }
    if (step != SQLITE_DONE)
        fail(QStringLiteral("无法读取数据表“%1”：%2").arg(path_, sqliteText(db_)));
    records_ = std::move(records);
}

void RecordTableStore::scan(const std::function<void(const Record&)>& visit)
{
    if (isOpen())
        throw UserError(QStringLiteral("数据表“%1”已打开，不能逐条读取").arg(path_));
    struct Visiting {
        RecordTableStore& table;
        ~Visiting()
        {
            table.visit_ = nullptr;
            table.close();
        }
    } visiting{*this};
    visit_ = &visit;
    open();
}

void RecordTableStore::first()
{
    requireOpen();
    postIfEditing();
    current_ = records_.empty() ? -1 : 0;
}

void RecordTableStore::next()
{
    requireOpen();
    postIfEditing();
    if (current_ >= 0)
        current_ = current_ + 1 < int(records_.size()) ? current_ + 1 : -1;
}

bool RecordTableStore::eof() const
{
    return current_ < 0;
}

int RecordTableStore::recordCount() const
{
    return int(records_.size());
}

int RecordTableStore::currentIndex() const
{
    return current_;
}

void RecordTableStore::moveTo(int index)
{
    requireOpen();
    postIfEditing();
    current_ = (index >= 0 && index < int(records_.size())) ? index : -1;
}

int RecordTableStore::fieldCount() const
{
    return int(declaration_.fields.size());
}

QString RecordTableStore::fieldName(int index) const
{
    requireIndex(index);
    return declaration_.fields[index].name;
}

QString RecordTableStore::text(const QString& field) const
{
    return textAt(requireField(field));
}

double RecordTableStore::number(const QString& field) const
{
    return numberAt(requireField(field));
}

void RecordTableStore::setText(const QString& field, const QString& value)
{
    setTextAt(requireField(field), value);
}

void RecordTableStore::setNumber(const QString& field, double value)
{
    setNumberAt(requireField(field), value);
}

QString RecordTableStore::textAt(int index) const
{
    requireIndex(index);
    const QVariant& value = currentValues()[index];
    if (!value.isValid() || declaration_.fields[index].type == FieldType::Picture)
        return QString();
    if (value.typeId() == QMetaType::Double)
        return shortestText(value.toDouble());
    return value.toString();
}

double RecordTableStore::numberAt(int index) const
{
    requireIndex(index);
    requireNotPicture(index);
    const QVariant& value = currentValues()[index];
    if (!value.isValid())
        return 0;
    if (value.typeId() == QMetaType::Double)
        return value.toDouble();
    const QString text = value.toString();
    if (text.trimmed().isEmpty())
        return 0;
    return ParseNumber(text);
}

void RecordTableStore::setTextAt(int index, const QString& value)
{
    requireIndex(index);
    requireNotPicture(index);
    std::vector<QVariant>& values = buffer();
    const FieldDeclaration& field = declaration_.fields[index];
    if (field.type == FieldType::Text) {
        values[index] = cutToChars(value, field.size);
        return;
    }
    if (value.trimmed().isEmpty()) {
        values[index] = QVariant();
        return;
    }
    try {
        values[index] = ParseNumber(value);
    } catch (...) {
        // A record left half filled must not be posted by a later
        // navigation: the failed action stores nothing.
        cancel();
        throw;
    }
}

void RecordTableStore::setNumberAt(int index, double value)
{
    requireIndex(index);
    requireNotPicture(index);
    std::vector<QVariant>& values = buffer();
    const FieldDeclaration& field = declaration_.fields[index];
    if (field.type == FieldType::Text) {
        values[index] = cutToChars(shortestText(value), field.size);
        return;
    }
    if (std::isnan(value)) {
        cancel(); // the failed action stores nothing
        throw UserError(QStringLiteral("数据表“%1”的数值字段“%2”不能存入无效的计算结果")
                            .arg(path_, field.name));
    }
    values[index] = value;
}

QImage RecordTableStore::picture(const QString& field) const
{
    return pictureAt(requireField(field));
}

QImage RecordTableStore::pictureAt(int index) const
{
    requireIndex(index);
    if (declaration_.fields[index].type != FieldType::Picture)
        throw UserError(QStringLiteral("数据表“%1”的字段“%2”不是图片字段")
                            .arg(path_, declaration_.fields[index].name));
    const QVariant& value = currentValues()[index];
    if (!value.isValid())
        return QImage();
    // A sketch beside a drop-down: bytes whose header claims a larger picture
    // (a few bytes may claim gigabytes) show as no picture, unread.
    constexpr qint64 kMostPixels = qint64(4096) * 4096;
    QBuffer bytes;
    bytes.setData(value.toByteArray());
    bytes.open(QIODevice::ReadOnly);
    QImageReader reader(&bytes);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMostPixels)
        return QImage();
    const QImage image = reader.read();
    if (qint64(image.width()) * image.height() > kMostPixels)
        return QImage();
    return image;
}

void RecordTableStore::append()
{
    requireOpen();
    postIfEditing();
    buffer_.assign(declaration_.fields.size(), QVariant());
    editState_ = EditState::Append;
}

void RecordTableStore::edit()
{
    requireOpen();
    if (editState_ == EditState::Edit)
        return;
    postIfEditing();
    if (current_ < 0)
        throw UserError(QStringLiteral("数据表“%1”没有当前记录，不能修改").arg(path_));
    buffer_ = records_[current_].values;
    editState_ = EditState::Edit;
}

void RecordTableStore::post()
{
    requireOpen();
    if (editState_ == EditState::Browse)
        return;
    QStringList columns;
    QStringList placeholders;
    for (const FieldDeclaration& field : declaration_.fields) {
        columns << quoted(field.name) + (editState_ == EditState::Edit ? " = ?" : "");
        placeholders << QStringLiteral("?");
    }
    const QString sql = editState_ == EditState::Append
                            ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(tableName_), columns.join(QStringLiteral(", ")),
                                       placeholders.join(QStringLiteral(", ")))
                            : QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                  .arg(quoted(tableName_), columns.join(QStringLiteral(", ")));
    Statement statement(db_, sql);
    bool written = statement.prepared();
    if (written) {
        for (size_t i = 0; i < buffer_.size(); ++i)
            statement.bind(int(i) + 1, buffer_[i]);
        if (editState_ == EditState::Edit)
            sqlite3_bind_int64(statement.get(), int(buffer_.size()) + 1, records_[current_].rowId);
        written = statement.step() == SQLITE_DONE;
    }
    if (!written) {
        const QString reason = sqliteText(db_);
        cancel();
        throw UserError(QStringLiteral("无法写入数据表“%1”：%2").arg(path_, reason));
    }
    if (editState_ == EditState::Append) {
        records_.push_back(Record{sqlite3_last_insert_rowid(db_), std::move(buffer_)});
        current_ = int(records_.size()) - 1;
    } else {
        records_[current_].values = std::move(buffer_);
    }
    buffer_.clear();
    editState_ = EditState::Browse;
    changed();
}

void RecordTableStore::cancel()
{
    buffer_.clear();
    editState_ = EditState::Browse;
}

void RecordTableStore::remove()
{
    requireOpen();
    postIfEditing();
    if (current_ < 0)
        throw UserError(QStringLiteral("数据表“%1”没有当前记录，不能删除").arg(path_));
    Statement statement(db_,
                        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(tableName_)));
    bool removed = statement.prepared();
    if (removed) {
        sqlite3_bind_int64(statement.get(), 1, records_[current_].rowId);
        removed = statement.step() == SQLITE_DONE;
    }
    if (!removed)
        fail(QStringLiteral("无法删除数据表“%1”中的记录：%2").arg(path_, sqliteText(db_)));
    records_.erase(records_.begin() + current_);
    if (current_ >= int(records_.size()))
        current_ = -1;
    changed();
}

void RecordTableStore::removeAll()
{
    requireOpen();
    postIfEditing();
    Statement statement(db_, QStringLiteral("DELETE FROM %1").arg(quoted(tableName_)));
    if (!statement.prepared() || statement.step() != SQLITE_DONE)
        fail(QStringLiteral("无法删除数据表“%1”中的记录：%2").arg(path_, sqliteText(db_)));
    records_.clear();
    current_ = -1;
    changed();
}

void RecordTableStore::refresh()
{
    requireOpen();
    postIfEditing();
    const qint64 rowId = current_ >= 0 ? records_[current_].rowId : 0;
    const bool atEof = current_ < 0;
    loadRecords();
    current_ = -1;
    if (!atEof) {
        // The current record, or the one that followed it if it is gone.
        for (size_t i = 0; i < records_.size(); ++i) {
            if (records_[i].rowId >= rowId) {
                current_ = int(i);
                break;
            }
        }
    }
    changed();
}

void RecordTableStore::suspendUpdates()
{
    ++suspendCount_;
}

void RecordTableStore::resumeUpdates()
{
    if (suspendCount_ == 0)
        return;
    if (--suspendCount_ == 0 && changedWhileSuspended_) {
        changedWhileSuspended_ = false;
        emit contentsChanged();
    }
}

void RecordTableStore::changed()
{
    if (suspendCount_ > 0)
        changedWhileSuspended_ = true;
    else
        emit contentsChanged();
}

void RecordTableStore::postIfEditing()
{
    if (editState_ != EditState::Browse)
        post();
}

void RecordTableStore::requireOpen() const
{
    if (!isOpen())
        throw UserError(QStringLiteral("数据表“%1”没有打开").arg(path_));
}

int RecordTableStore::requireField(const QString& field) const
{
    const int index = declaration_.indexOf(field);
    if (index < 0)
        throw UserError(QStringLiteral("数据表“%1”中没有字段“%2”").arg(path_, field));
    return index;
}

void RecordTableStore::requireNotPicture(int index) const
{
    if (declaration_.fields[index].type == FieldType::Picture)
        throw UserError(QStringLiteral("数据表“%1”的图片字段“%2”只能读取图片")
                            .arg(path_, declaration_.fields[index].name));
}

void RecordTableStore::requireIndex(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw UserError(QStringLiteral("数据表“%1”中没有第%2个字段").arg(path_).arg(index + 1));
}

const std::vector<QVariant>& RecordTableStore::currentValues() const
{
    requireOpen();
    if (editState_ != EditState::Browse)
        return buffer_;
    if (current_ < 0)
        throw UserError(QStringLiteral("数据表“%1”没有当前记录").arg(path_));
    return records_[current_].values;
}

std::vector<QVariant>& RecordTableStore::buffer()
{
    requireOpen();
    if (editState_ == EditState::Browse)
        throw UserError(QStringLiteral("数据表“%1”不在编辑状态，不能写入字段").arg(path_));
    return buffer_;
}

void RecordTableStore::fail(const QString& what) const
{
    throw UserError(what);
}

void CreateTableFile(const QString& path, const TableDeclaration& declaration,
                     const std::vector<std::vector<QVariant>>& records)
{
    const QString cannotCreate = QStringLiteral("无法创建数据表“%1”：%2");
    if (QFileInfo::exists(path))
        throw UserError(cannotCreate.arg(path, QStringLiteral("文件已存在")));
    for (const std::vector<QVariant>& record : records) {
        if (record.size() != size_t(declaration.fields.size()))
            throw UserError(cannotCreate.arg(path, QStringLiteral("记录的字段数与表不符")));
    }

    // SQLite takes an empty file as an empty database: reserve a unique name
    // beside the target, build the table in it, then move it into place.
    const QFileInfo target(path);
    QString temporary;
    {
        // A temporary file object holds its file open until it goes, even
        // closed; Windows would refuse to move a file still open.
        QTemporaryFile reserved(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                QStringLiteral(".XXXXXX"));
        reserved.setAutoRemove(false);
        if (!reserved.open()) {
            const int error = errno;
            throw UserError(cannotCreate.arg(path, FileDeviceReason(reserved.error(), error)));
        }
        temporary = reserved.fileName();
    }

    QStringList columns;
    for (const FieldDeclaration& field : declaration.fields)
        columns << quoted(field.name) + columnType(field.type);
    const QByteArray sql =
        QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(quoted(QString::fromLatin1(kCreatedTableName)), columns.join(QStringLiteral(", ")))
            .toUtf8();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temporary.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK && !records.empty())
        rc = insertRecords(db, declaration, records);
    const QString reason = rc == SQLITE_OK ? QString()
                           : db            ? sqliteText(db)
                                           : TableEngineReason(rc);
    if (sqlite3_close(db) != SQLITE_OK && rc == SQLITE_OK)
        rc = SQLITE_ERROR;
    if (rc != SQLITE_OK) {
        QFile::remove(temporary);
        throw UserError(cannotCreate.arg(path, reason));
    }
    // Not QFile::rename: when the system refuses to replace the target it
    // copies over it, through a dangling link too. The check above misses a
    // dangling link and a file appearing meanwhile; this move does not.
    QString why;
    const MoveResult moved = MoveWithoutReplacing(temporary, path, &why);
    if (moved == MoveResult::Moved)
        return;
    QFile::remove(temporary);
    throw UserError(cannotCreate.arg(
        path, moved == MoveResult::TargetExists ? QStringLiteral("文件已存在") : why));
}

void CopyTableFile(const QString& source, const QString& target)
{
    const QString cannotCopy = QStringLiteral("无法将数据表“%1”复制到“%2”：%3");
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        const int error = errno;
        throw UserError(cannotCopy.arg(source, target, FileDeviceReason(in.error(), error)));
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        const int error = errno;
        throw UserError(cannotCopy.arg(source, target, FileDeviceReason(in.error(), error)));
    }
    in.close();
    try {
        ReplaceFile(target, bytes);
    } catch (const FileWriteError& error) {
        throw UserError(cannotCopy.arg(source, target, error.reason()));
    }
}

void SwitchTableFile(RecordTableStore& table, const QString& path)
{
    const QString previous = table.path();
    const bool wasOpen = table.isOpen();
    table.close();
    table.setPath(path);
    try {
        table.open();
    } catch (...) {
        table.setPath(previous);
        if (wasOpen)
            table.open();
        throw;
    }
}
