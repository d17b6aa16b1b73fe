// The record-set store: table-type record sets over an SQLite database file.
//
// Every table is an SQLite rowid table; its natural order is rowid order. A
// record set remembers only the rowid of its current row, and every move and
// every field read is a point query, so a table of a million rows costs the
// process no memory. Field types, sizes and attribute masks are read from the
// file's own declared column types, so a file changed by another program is
// judged by what it really holds.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace store {

// Field type codes, as the shop's programs have always numbered them.
enum TypeCode : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,  // 16-bit signed integer
    dbLong = 4,     // 32-bit signed integer
    dbDouble = 7,
    dbDate = 8,     // date without a time of day, stored as YYYY-MM-DD
    dbText = 10,    // text of at most `size` characters
    dbLongBinary = 11,
    dbMemo = 12,    // text without a defined size
    dbBigInt = 16,  // 64-bit signed integer
};

// Field attribute bits.
enum FieldAttribute : int {
    dbFixedField = 1,
    dbVariableField = 2,
    dbUpdatableField = 32,
};

enum class ErrorKind {
    Engine,           // any other failure reported by SQLite
    NoCurrentRecord,  // no current row to read, edit, delete or move from
    RecordDeleted,    // the current row has been deleted
    ItemNotFound,     // no field of that name or position
    TableNotFound,    // no such table in the file
    NotADatabase,     // the file is not a database, or is corrupt
    Busy,             // locked by another connection or process
    Io,               // the file cannot be opened, read or written
    Validation,       // a value the table refuses
    ObjectClosed,     // the database or record set has been closed
    NoEditPending,    // Update or a field write without AddNew or Edit
};

// The store's one exception type. description() is the text a clerk sees
// after "Error : ".
class StoreError : public std::runtime_error {
public:
    StoreError(ErrorKind kind, const QString& description, int sqliteCode = 0);

    ErrorKind kind() const { return kind_; }
    QString description() const { return description_; }
    int sqliteCode() const { return sqliteCode_; }

    // True for failures of the surroundings rather than of the file's content:
    // locked or busy, I/O, permission, a full disk.
    bool isEnvironmental() const { return kind_ == ErrorKind::Busy || kind_ == ErrorKind::Io; }

private:
    ErrorKind kind_;
    QString description_;
    int sqliteCode_;
};

// A field as the file describes it.
struct FieldInfo {
    QString name;
    int type = 0;
    int size = 0;        // characters for text, bytes for the others
    int attributes = 0;  // FieldAttribute bits
    bool notNull = false;
};

// A field of a table to be created.
struct FieldDef {
    QString name;
    int type = dbText;
    int size = 0;        // characters, text fields only
    int attributes = 0;  // as created; the store reports dbUpdatableField on top
};

struct IndexDef {
    QString name;
    QStringList fields;
    bool primary = false;  // unique, and every key field required
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

class Connection;
class Recordset;

// An open database file (shared mode, busy timeout 5 s).
class Database {
public:
    // Opens an existing file. A missing file is an error: nothing is created.
    static std::shared_ptr<Database> OpenDatabase(const QString& path, bool exclusive = false,
                                                  bool readOnly = false);
    // Creates a new, empty file; refuses a path where a file already stands.
    static std::shared_ptr<Database> CreateDatabase(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const;
    bool isOpen() const;

    // Closes the file; every record set opened through it is closed with it,
    // and a pending edit is discarded.
    void Close();

    std::shared_ptr<Recordset> OpenRecordset(const QString& tableName);

    QStringList TableNames() const;
    std::vector<FieldInfo> TableFields(const QString& tableName) const;
    QStringList IndexNames() const;

    // Creates a table with its fields, the rules of its fields and its indexes,
    // in one transaction.
    void AppendTableDef(const TableDef& def);
    // Creates a plain (non-unique) index on the fields, in this order, unless
    // one of that name exists. existing: the file's index names when the
    // caller has them (IndexNames).
    void EnsureIndex(const QString& indexName, const QString& tableName, const QStringList& fields,
                     const QStringList* existing = nullptr);

    // A transaction that the writes of every record set opened through this
    // database join. BeginTrans takes the file's write lock (waiting up to the
    // busy timeout for another program); CommitTrans makes every write since
    // then lasting at once, and a commit that fails undoes them all; Rollback
    // undoes them. An AddNew or Edit still pending is discarded by either.
    // Transactions do not nest.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;

    // Runs SQLite's quick integrity check; returns "ok" or the first problem.
    QString QuickCheck();

    // Writes a consistent copy of the whole database to another file, with
    // SQLite's online backup. The target is replaced.
    void BackupTo(const QString& targetPath);

    // A number that changes whenever another connection (in this program or
    // another) has committed a change to the file; compare two readings to
    // learn whether rows read earlier may have changed. Writes through this
    // database do not change it.
    std::int64_t DataVersion() const;

private:
    explicit Database(std::shared_ptr<Connection> conn);
    std::shared_ptr<Connection> conn_;
};

// A table-type record set over one table.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    QString Name() const { return table_; }
    bool isOpen() const;

    // Exact number of rows now in the table.
    long long RecordCount() const;

    bool Eof() const { return pos_ == Pos::Eof || pos_ == Pos::Empty; }
    bool Bof() const { return pos_ == Pos::Bof || pos_ == Pos::Empty; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // Positions on the first row, in natural order, whose field equals the
    // value exactly (letter case and blanks count). Returns false, and leaves
    // the position unchanged, when no row matches.
    bool FindFirst(const QString& field, const QString& value);

    // The same on several fields at once: the first row whose every named
    // field equals its value. A field without a value never matches.
    struct Criterion {
        QString field;
        QString value;
    };
    bool FindFirst(const std::vector<Criterion>& criteria);

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // Field descriptions; an unknown name or position raises ItemNotFound.
    // Names are found without regard to letter case.
    const FieldInfo& Field(int position) const;
    const FieldInfo& Field(const QString& name) const;
    int FieldPosition(const QString& name) const;

    // The current row's value (or the pending value during AddNew or Edit).
    // Texts come back as QString, whole numbers as qlonglong, dates as QDate,
    // and an empty field as a null QVariant.
    QVariant Value(int position) const;
    QVariant Value(const QString& name) const;
    // The value as the text a box shows: empty for an empty field, whole
    // numbers in decimal, dates as ISO dates.
    QString Text(int position) const;
    QString Text(const QString& name) const;

    void SetValue(int position, const QVariant& value);
    void SetValue(const QString& name, const QVariant& value);

    // Begins a new row; Update appends it and leaves the current row as it was.
    void AddNew();
    // Takes the file's write lock and re-reads the current row; Update writes
    // it back and commits.
    void Edit();
    void Update();
    // Discards a pending AddNew or Edit and releases the lock it held.
    void CancelUpdate();
    bool EditPending() const { return mode_ != Mode::None; }

    // Removes the current row; there is no current row until the next move.
    void Delete();

    // Whole rows in natural order, a page at a time: up to `limit` rows whose
    // rowid is greater than afterRowid, each with its rowid and its values as
    // Value gives them. The read ends, and its lock is released, before the
    // call returns, so a long walk never stands in a writer's way. The
    // current row does not move.
    struct PageRow {
        std::int64_t rowid = 0;
        std::vector<QVariant> values;
    };
    std::vector<PageRow> ReadPage(std::int64_t afterRowid, int limit) const;

    // The rowid of the current row (0 when there is none), and of the row the
    // last Update wrote.
    std::int64_t Bookmark() const { return pos_ == Pos::Row ? rowid_ : 0; }
    std::int64_t LastModified() const { return lastModified_; }
    // Makes the row with this rowid current; false if there is no such row.
    bool SetBookmark(std::int64_t rowid);

    // Some fields of up to `limit` rows whose rowid is greater than
    // afterRowid, in natural order, without making a value of every field:
    // visit(rowid, texts) runs once per row with one FieldText per position
    // asked for, each the UTF-8 form of what Text() shows for it. The texts
    // are valid only during that call, and visit must not let window events
    // run (the page's read lock is held until the page ends). Returns the
    // rowid of the last row visited, or afterRowid when there was none. The
    // current row does not move.
    struct FieldText {
        const char* utf8 = nullptr;  // nullptr for an empty field
        int size = 0;                // in bytes
        bool isNull() const { return utf8 == nullptr; }
    };
    using TextVisitor = std::function<void(std::int64_t rowid, const FieldText* texts)>;
    std::int64_t ReadTextPage(std::int64_t afterRowid, int limit, const std::vector<int>& positions,
                              const TextVisitor& visit) const;

    // Moves `rows` rows forward (or backward, when negative) in natural order,
    // from the current row or, when startBookmark is not 0, from the row with
    // that rowid, which need not exist any more (a deleted row keeps its
    // place). Moving beyond the last row leaves the record set at Eof, before
    // the first at Bof. Move(0) makes the start row current and fails when it
    // has been deleted. The rows in between are skipped inside the engine:
    // nothing of theirs is read into the program.
    void Move(long long rows, std::int64_t startBookmark = 0);

    // ReadPage limited to some fields: each row's values are those of the
    // fields at these positions, in this order.
    std::vector<PageRow> ReadPage(std::int64_t afterRowid, int limit, const std::vector<int>& positions) const;

private:
    friend class Database;
    friend class Connection;
    Recordset(std::shared_ptr<Connection> conn, QString table, std::vector<FieldInfo> fields);

    enum class Pos { Empty, Bof, Eof, Row, Deleted };
    enum class Mode { None, Adding, Editing };

    void checkOpen() const;
    void requireRow() const;
    void moveToEnd(bool last);
    void step(bool forward);
    std::vector<QVariant> readRow(std::int64_t rowid) const;
    QVariant storedToValue(int position, const QVariant& stored) const;
    QVariant valueToStored(int position, const QVariant& value) const;
    void endEdit(bool commit);

    std::shared_ptr<Connection> conn_;
    QString table_;
    std::vector<FieldInfo> fields_;
    Pos pos_ = Pos::Empty;
    std::int64_t rowid_ = 0;  // current row, or the deleted row after Delete
    std::int64_t lastModified_ = 0;
    Mode mode_ = Mode::None;
    std::vector<QVariant> buffer_;  // stored form of the pending row

};

// Begins a transaction on a database and rolls it back when the scope ends
// without Commit, however it ends.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.BeginTrans(); }
    ~Transaction()
    {
        if (open_) {
            try {
                db_.Rollback();
            } catch (...) {
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit()
    {
        open_ = false;
        db_.CommitTrans();
    }

private:
    Database& db_;
    bool open_ = true;
};

// Discards every pending AddNew or Edit in the process and releases the locks
// they hold. Run after each top-level event, so that no pending write outlives
// the handler that began it.
void CancelAllPendingEdits();

// Quotes a table, field or index name of the fixed schema for SQL.
QString quoteName(const QString& name);

// Describes a field type for a declared SQLite column type, and back.
QString declaredType(const FieldDef& def);
FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declared, int hidden,
                                bool notNull);

}  // namespace store
