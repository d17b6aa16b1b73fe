#include "platform/Store.h"

#include "platform/Convert.h"

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <thread>

namespace store {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// How a connection waits for a lock that another connection holds: it tries
// again about every millisecond, a little sooner or later each time, until
// the busy timeout has passed since its first try. Another counter that
// writes without a pause frees the file only for the moment between two of
// its writes; the engine's own wait, which sleeps up to 100 ms between
// tries, can miss every such moment for longer than the timeout and would
// tell the clerk that the file is in use.
struct LockWait {
    std::chrono::steady_clock::time_point since;
};

int waitForLock(void* context, int triesBefore)
{
    auto& wait = *static_cast<LockWait*>(context);
    const auto now = std::chrono::steady_clock::now();
    if (triesBefore == 0)
        wait.since = now;
    else if (now - wait.since >= std::chrono::milliseconds(kBusyTimeoutMs))
        return 0;
    // The counter has one thread: one generator serves every connection.
    static std::minstd_rand jitter{std::random_device{}()};
    std::this_thread::sleep_for(std::chrono::microseconds(500 + jitter() % 1000));
    return 1;
}

ErrorKind kindOfSqliteCode(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ErrorKind::Busy;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_FULL:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_NOMEM:
    case SQLITE_PROTOCOL:
    case SQLITE_NOLFS:
        return ErrorKind::Io;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ErrorKind::NotADatabase;
    case SQLITE_CONSTRAINT:
        return ErrorKind::Validation;
    default:
        return ErrorKind::Engine;
    }
}

QString describeSqlite(int code, const QString& message, const QString& path)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("The database is in use by another program and could not be "
                              "locked within 5 seconds (%1).")
            .arg(message);
    case SQLITE_CANTOPEN:
        return QStringLiteral("Cannot open the database file '%1' (%2).").arg(path, message);
    case SQLITE_NOTADB:
        return QStringLiteral("'%1' is not a database file (%2).").arg(path, message);
    case SQLITE_CORRUPT:
        return QStringLiteral("The database file '%1' is damaged (%2).").arg(path, message);
    case SQLITE_FULL:
        return QStringLiteral("The disk is full (%1).").arg(message);
    default:
        return message;
    }
}

[[noreturn]] void rethrow(const SQLite::Exception& e, const QString& path)
{
    const int code = e.getExtendedErrorCode() > 0 ? e.getExtendedErrorCode() : e.getErrorCode();
    const QString message = QString::fromUtf8(e.what());
    throw StoreError(kindOfSqliteCode(code), describeSqlite(code, message, path), code);
}

// Runs f, turning SQLite's exceptions into StoreError.
template <typename F>
auto translated(const QString& path, F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const SQLite::Exception& e) {
        rethrow(e, path);
    }
}

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }

QVariant columnValue(const SQLite::Column& c)
{
    switch (c.getType()) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(c.getInt64()));
    case SQLITE_FLOAT:
        return QVariant(c.getDouble());
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(c.getText(), c.getBytes()));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(c.getBlob()), c.getBytes()));
    default:
        return QVariant();
    }
}

void bindValue(SQLite::Statement& st, int index, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        st.bind(index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
        st.bind(index, static_cast<int64_t>(v.toLongLong()));
        break;
    case QMetaType::Double:
        st.bind(index, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        st.bind(index, b.constData(), static_cast<int>(b.size()));
        break;
    }
    default:
        st.bind(index, utf8(v.toString()));
    }
}

// Resets a cached statement when the use of it ends, however it ends, so
// that no statement keeps a read lock on the file after an error.
class ResetGuard {
public:
    explicit ResetGuard(SQLite::Statement& st) : st_(st) {}
    ~ResetGuard()
    {
        try {
            st_.reset();
        } catch (...) {
        }
    }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;

private:
    SQLite::Statement& st_;
};

bool isTextType(int type) { return type == dbText || type == dbMemo; }
bool isWholeType(int type)
{
    return type == dbByte || type == dbInteger || type == dbLong || type == dbBigInt ||
           type == dbBoolean;
}

}  // namespace

StoreError::StoreError(ErrorKind kind, const QString& description, int sqliteCode)
    : std::runtime_error(description.toStdString()), kind_(kind), description_(description),
      sqliteCode_(sqliteCode)
{
}

QString quoteName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString declaredType(const FieldDef& def)
{
    QString t;
    switch (def.type) {
    case dbText:
        t = QStringLiteral("TEXT(%1)").arg(def.size);
        break;
    case dbMemo:
        t = QStringLiteral("MEMO");
        break;
    case dbLong:
        t = QStringLiteral("INT32");
        break;
    case dbInteger:
        t = QStringLiteral("INT16");
        break;
    case dbByte:
        t = QStringLiteral("BYTE");
        break;
    case dbBigInt:
        t = QStringLiteral("INT64");
        break;
    case dbDate:
        t = QStringLiteral("DATE");
        break;
    case dbDouble:
        t = QStringLiteral("DOUBLE");
        break;
    case dbBoolean:
        t = QStringLiteral("BOOLEAN");
        break;
    default:
        t = QStringLiteral("BLOB");
    }
    if (def.attributes & dbFixedField)
        t += QStringLiteral(" FIXED");
    return t;
}

FieldInfo fieldInfoFromDeclared(const QString& name, const QString& declared, int hidden,
                                bool notNull)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*(?:\(\s*(\d+)\s*(?:,\s*\d+\s*)?\))?(.*)$)"));
    FieldInfo f;
    f.name = name;
    f.notNull = notNull;
    const auto m = re.match(declared);
    const QString base = m.hasMatch() ? m.captured(1).toUpper() : QString();
    const bool hasSize = m.hasMatch() && !m.captured(2).isEmpty();
    const int size = hasSize ? m.captured(2).toInt() : 0;
    const QStringList rest =
        m.hasMatch() ? m.captured(3).toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts)
                     : QStringList();

    static const QStringList textNames{"TEXT", "VARCHAR", "CHAR", "NVARCHAR", "NCHAR",
                                       "CHARACTER"};
    if (textNames.contains(base)) {
        f.type = hasSize ? dbText : dbMemo;
        f.size = size;
    } else if (base == "MEMO" || base == "CLOB") {
        f.type = dbMemo;
    } else if (base == "INT32" || base == "LONG") {
        f.type = dbLong;
        f.size = 4;
    } else if (base == "INT16" || base == "SHORT" || base == "SMALLINT") {
        f.type = dbInteger;
        f.size = 2;
    } else if (base == "INTEGER" || base == "INT" || base == "BIGINT" || base == "INT64") {
        f.type = dbBigInt;
        f.size = 8;
    } else if (base == "BYTE" || base == "TINYINT") {
        f.type = dbByte;
        f.size = 1;
    } else if (base == "DATE" || base == "DATETIME") {
        f.type = dbDate;
        f.size = 8;
    } else if (base == "DOUBLE" || base == "REAL" || base == "FLOAT") {
        f.type = dbDouble;
        f.size = 8;
    } else if (base == "BOOLEAN" || base == "BIT") {
        f.type = dbBoolean;
        f.size = 1;
    } else if (base.isEmpty() || base == "BLOB") {
        f.type = dbLongBinary;
    } else {
        f.type = 0;
    }
    // A generated column cannot be written; every other column can. SQLite
    // keeps every column variable-length unless the declared type says FIXED.
    const bool generated = hidden == 2 || hidden == 3;
    f.attributes = (generated ? 0 : dbUpdatableField) |
                   (rest.contains(QStringLiteral("FIXED")) ? dbFixedField : dbVariableField);
    return f;
}

// ---------------------------------------------------------------------------
// Connection: one SQLite connection with its prepared statements and its
// write lock, shared by the record sets opened through it.

class Connection {
public:
    explicit Connection(QString path) : path_(std::move(path)) {}
    ~Connection() { close(); }

    bool isOpen() const { return static_cast<bool>(db_); }
    const QString& path() const { return path_; }

    void open(int flags)
    {
        translated(path_, [&] {
            db_ = std::make_unique<SQLite::Database>(utf8(path_), flags, kBusyTimeoutMs);
        });
        sqlite3_busy_handler(db_->getHandle(), &waitForLock, &lockWait_);
    }

    SQLite::Database& db()
    {
        if (!db_)
            throw StoreError(ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
        return *db_;
    }

    // A cached prepared statement, reset and cleared for a new use.
    SQLite::Statement& statement(const QString& sql)
    {
        SQLite::Database& d = db();
        const std::string key = utf8(sql);
        auto it = cache_.find(key);
        if (it == cache_.end()) {
            auto st = translated(path_, [&] { return std::make_unique<SQLite::Statement>(d, key); });
            it = cache_.emplace(key, std::move(st)).first;
        }
        SQLite::Statement& st = *it->second;
        st.reset();
        st.clearBindings();
        return st;
    }

    void exec(const QString& sql)
    {
        // Anything but the bounds of a transaction may change what a kept
        // count counts.
        if (!sql.startsWith(QLatin1String("BEGIN")) && !sql.startsWith(QLatin1String("COMMIT")))
            counts_.clear();
        translated(path_, [&] { db().exec(utf8(sql)); });
    }

    // Takes the write lock: the first holder begins an immediate transaction,
    // waiting up to the busy timeout for another process to finish.
    void acquireWriteLock()
    {
        if (holders_ == 0) {
            exec(QStringLiteral("BEGIN IMMEDIATE"));
        } else if (db_ && sqlite3_get_autocommit(db_->getHandle())) {
            // The engine has already undone the transaction after a failure
            // (a full disk, say): a write now would stand outside it.
            throw StoreError(ErrorKind::Engine,
                             QStringLiteral("The transaction was rolled back after an earlier error; "
                                            "nothing of it was saved."));
        }
        ++holders_;
    }

    // An explicit transaction: one hold of the write lock that lasts until
    // commitTransaction or rollbackTransaction.
    void beginTransaction()
    {
        if (inTransaction_)
            throw StoreError(ErrorKind::Engine, QStringLiteral("A transaction is already open on this database."));
        db();
        acquireWriteLock();
        inTransaction_ = true;
    }

    void commitTransaction()
    {
        requireTransaction();
        cancelPendingEdits();
        inTransaction_ = false;
        holders_ = 1;
        releaseWriteLock();
    }

    void rollbackTransaction()
    {
        requireTransaction();
        cancelPendingEdits();
        inTransaction_ = false;
        holders_ = 1;
        abandonWriteLock();
    }

    bool inTransaction() const { return inTransaction_; }

    // Releases one hold; the last one commits what was written under it. A
    // commit that fails rolls back and reports.
    void releaseWriteLock()
    {
        if (holders_ <= 0)
            return;
        if (--holders_ > 0)
            return;
        if (!db_)
            return;
        try {
            exec(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
    }

    // Drops one hold without committing: the last one rolls back everything
    // written under the lock.
    void abandonWriteLock()
    {
        if (holders_ <= 0)
            return;
        if (--holders_ == 0 && db_)
            rollback();
    }

    // The exact number of rows of a table. Counted once; afterwards the count
    // follows this connection's own writes (noteWrite) and is counted again
    // only when another connection has committed something meanwhile.
    long long count(const QString& table)
    {
        const qint64 version = dataVersion();
        auto it = counts_.find(table);
        if (it != counts_.end() && it->second.version == version)
            return it->second.count;
        SQLite::Statement& st = statement(QStringLiteral("SELECT count(*) FROM ") + quoteName(table));
        ResetGuard stGuard(st);
        const long long n = translated(path_, [&] {
            st.executeStep();
            const long long v = st.getColumn(0).getInt64();
            st.reset();
            return v;
        });
        counts_[table] = {version, n};
        return n;
    }

    qint64 totalChanges() { return sqlite3_total_changes64(db().getHandle()); }

    // After a write of this connection that changed `rowsWritten` rows of a
    // table and added `delta` rows to it (negative: removed): the kept count
    // follows. A write that changed other rows too (a trigger of the file's)
    // makes every kept count be counted afresh.
    void noteWrite(const QString& table, qint64 changesBefore, long long rowsWritten, long long delta)
    {
        if (!db_)
            return;
        if (totalChanges() - changesBefore != rowsWritten) {
            counts_.clear();
            return;
        }
        auto it = counts_.find(table);
        if (it != counts_.end())
            it->second.count += delta;
    }

    qint64 dataVersion()
    {
        SQLite::Statement& st = statement(QStringLiteral("PRAGMA data_version"));
        ResetGuard stGuard(st);
        return translated(path_, [&] {
            st.executeStep();
            const qint64 v = st.getColumn(0).getInt64();
            st.reset();
            return v;
        });
    }

    void addRecordset(Recordset* rs) { recordsets_.push_back(rs); }
    void removeRecordset(Recordset* rs)
    {
        recordsets_.erase(std::remove(recordsets_.begin(), recordsets_.end(), rs), recordsets_.end());
    }

    // Undoes the open transaction; the row counts seen inside it are
    // forgotten with it.
    void rollback()
    {
        counts_.clear();
        if (!db_)
            return;
        try {
            db_->exec("ROLLBACK");
        } catch (...) {
        }
    }

    void close()
    {
        if (!db_)
            return;
        cancelPendingEdits();
        cache_.clear();
        counts_.clear();
        inTransaction_ = false;
        if (holders_ > 0) {
            holders_ = 0;
            rollback();
        }
        db_.reset();
    }

private:
    void requireTransaction() const
    {
        if (!inTransaction_)
            throw StoreError(ErrorKind::Engine,
                             QStringLiteral("You tried to commit or rollback a transaction without first "
                                            "beginning a transaction."));
    }

    void cancelPendingEdits()
    {
        for (Recordset* rs : std::vector<Recordset*>(recordsets_)) {
            try {
                rs->CancelUpdate();
            } catch (...) {
            }
        }
    }

    struct CountCache {
        qint64 version;  // PRAGMA data_version when it was right
        long long count;
    };
    QString path_;
    std::unique_ptr<SQLite::Database> db_;
    std::map<std::string, std::unique_ptr<SQLite::Statement>> cache_;
    std::map<QString, CountCache> counts_;
    std::vector<Recordset*> recordsets_;
    int holders_ = 0;
    bool inTransaction_ = false;
    LockWait lockWait_;
};

namespace {

std::vector<Recordset*>& pendingEdits()
{
    static std::vector<Recordset*> list;
    return list;
}

// Reads a table's columns from the file's own schema.
std::vector<FieldInfo> readTableFields(Connection& conn, const QString& table)
{
    SQLite::Statement& st = conn.statement(
        QStringLiteral("SELECT name, type, hidden, \"notnull\" FROM pragma_table_xinfo(?1) ORDER BY cid"));
    ResetGuard stGuard(st);
    return translated(conn.path(), [&] {
        std::vector<FieldInfo> out;
        st.bind(1, utf8(table));
        while (st.executeStep()) {
            const int hidden = st.getColumn(2).getInt();
            if (hidden == 1)  // hidden columns of virtual tables are not fields
                continue;
            out.push_back(fieldInfoFromDeclared(QString::fromUtf8(st.getColumn(0).getText()),
                                                QString::fromUtf8(st.getColumn(1).getText()),
                                                hidden, st.getColumn(3).getInt() != 0));
        }
        st.reset();
        return out;
    });
}

bool tableExists(Connection& conn, const QString& table)
{
    SQLite::Statement& st = conn.statement(
        QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1"));
    ResetGuard stGuard(st);
    return translated(conn.path(), [&] {
        st.bind(1, utf8(table));
        const bool found = st.executeStep();
        st.reset();
        return found;
    });
}

QString fieldRule(const FieldDef& f)
{
    const QString n = quoteName(f.name);
    switch (f.type) {
    case dbText:
        return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND length(%1) BETWEEN 1 AND %2))")
            .arg(n)
            .arg(f.size);
    case dbMemo:
        return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND length(%1) >= 1))").arg(n);
    case dbLong:
        return QStringLiteral(
                   "CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN -2147483648 AND 2147483647))")
            .arg(n);
    case dbInteger:
        return QStringLiteral(
                   "CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN -32768 AND 32767))")
            .arg(n);
    case dbByte:
        return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN 0 AND 255))")
            .arg(n);
    case dbBigInt:
    case dbBoolean:
        return QStringLiteral("CHECK (%1 IS NULL OR typeof(%1) = 'integer')").arg(n);
    case dbDate:
        return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND %1 IS date(%1)))").arg(n);
    default:
        return QString();
    }
}

}  // namespace

void CancelAllPendingEdits()
{
    for (Recordset* rs : std::vector<Recordset*>(pendingEdits())) {
        try {
            rs->CancelUpdate();
        } catch (...) {
        }
    }
}

// ---------------------------------------------------------------------------
// Database

Database::Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}

Database::~Database()
{
    Close();
}

std::shared_ptr<Database> Database::OpenDatabase(const QString& path, bool exclusive, bool readOnly)
{
    const QFileInfo fi(path);
    if (!fi.exists())
        throw StoreError(ErrorKind::Io, QStringLiteral("Could not find file '%1'.").arg(path),
                         SQLITE_CANTOPEN);
    auto conn = std::make_shared<Connection>(path);
    conn->open(readOnly ? SQLite::OPEN_READONLY : SQLite::OPEN_READWRITE);
    if (exclusive)
        conn->exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    // Reading the schema proves that the file is a database we can read.
    SQLite::Statement& st = conn->statement(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    ResetGuard stGuard(st);
    translated(path, [&] {
        st.executeStep();
        st.reset();
    });
    return std::shared_ptr<Database>(new Database(conn));
}

std::shared_ptr<Database> Database::CreateDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        throw StoreError(ErrorKind::Io, QStringLiteral("Database '%1' already exists.").arg(path),
                         SQLITE_CANTOPEN);
    auto conn = std::make_shared<Connection>(path);
    conn->open(SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    // Write the file's header now, so that an empty new database is a valid file.
    conn->exec(QStringLiteral("PRAGMA user_version = 1"));
    return std::shared_ptr<Database>(new Database(conn));
}

QString Database::path() const { return conn_->path(); }
bool Database::isOpen() const { return conn_->isOpen(); }
void Database::Close() { conn_->close(); }

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& tableName)
{
    conn_->db();
    if (!tableExists(*conn_, tableName))
        throw StoreError(ErrorKind::TableNotFound,
                         QStringLiteral("Could not find the table '%1' in the database.").arg(tableName));
    auto fields = readTableFields(*conn_, tableName);
    std::shared_ptr<Recordset> rs(new Recordset(conn_, tableName, std::move(fields)));
    return rs;
}

QStringList Database::TableNames() const
{
    SQLite::Statement& st = conn_->statement(QStringLiteral(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "ORDER BY rowid"));
    ResetGuard stGuard(st);
    return translated(path(), [&] {
        QStringList out;
        while (st.executeStep())
            out << QString::fromUtf8(st.getColumn(0).getText());
        st.reset();
        return out;
    });
}

std::vector<FieldInfo> Database::TableFields(const QString& tableName) const
{
    return readTableFields(*conn_, tableName);
}

QStringList Database::IndexNames() const
{
    SQLite::Statement& st = conn_->statement(
        QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY rowid"));
    ResetGuard stGuard(st);
    return translated(path(), [&] {
        QStringList out;
        while (st.executeStep())
            out << QString::fromUtf8(st.getColumn(0).getText());
        st.reset();
        return out;
    });
}

void Database::AppendTableDef(const TableDef& def)
{
    QStringList primaryFields;
    for (const IndexDef& ix : def.indexes)
        if (ix.primary)
            primaryFields += ix.fields;

    QStringList columns;
    for (const FieldDef& f : def.fields) {
        QString col = quoteName(f.name) + QLatin1Char(' ') + declaredType(f);
        if (primaryFields.contains(f.name))
            col += QStringLiteral(" NOT NULL");
        const QString rule = fieldRule(f);
        if (!rule.isEmpty())
            col += QLatin1Char(' ') + rule;
        columns << col;
    }
    // The indexes are checked against the fields before anything is written.
    for (const IndexDef& ix : def.indexes)
        for (const QString& name : ix.fields)
            if (std::none_of(def.fields.begin(), def.fields.end(),
                             [&](const FieldDef& f) { return f.name == name; }))
                throw StoreError(ErrorKind::ItemNotFound,
                                 QStringLiteral("Index '%1' names the field '%2', which table '%3' does not have.")
                                     .arg(ix.name, name, def.name));

    conn_->acquireWriteLock();
    try {
        conn_->exec(QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
                        .arg(quoteName(def.name), columns.join(QStringLiteral(",\n  "))));
        for (const IndexDef& ix : def.indexes) {
            QStringList cols;
            for (const QString& f : ix.fields)
                cols << quoteName(f);
            conn_->exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                            .arg(ix.primary ? QStringLiteral("UNIQUE ") : QString(), quoteName(ix.name),
                                 quoteName(def.name), cols.join(QStringLiteral(", "))));
        }
    } catch (...) {
        conn_->abandonWriteLock();
        throw;
    }
    conn_->releaseWriteLock();
}

void Database::EnsureIndex(const QString& indexName, const QString& tableName, const QStringList& fields,
                           const QStringList* existing)
{
    if ((existing ? *existing : IndexNames()).contains(indexName))
        return;
    QStringList cols;
    for (const QString& f : fields)
        cols << quoteName(f);
    conn_->exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                    .arg(quoteName(indexName), quoteName(tableName), cols.join(QStringLiteral(", "))));
}

void Database::BeginTrans() { conn_->beginTransaction(); }
void Database::CommitTrans() { conn_->commitTransaction(); }
void Database::Rollback() { conn_->rollbackTransaction(); }
bool Database::InTransaction() const { return conn_->inTransaction(); }

QString Database::QuickCheck()
{
    SQLite::Statement& st = conn_->statement(QStringLiteral("PRAGMA quick_check(1)"));
    ResetGuard stGuard(st);
    return translated(path(), [&] {
        QString result;
        if (st.executeStep())
            result = QString::fromUtf8(st.getColumn(0).getText());
        st.reset();
        return result;
    });
}

void Database::BackupTo(const QString& targetPath)
{
    SQLite::Database& source = conn_->db();
    translated(targetPath, [&] {
        SQLite::Database target(utf8(targetPath), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
                                kBusyTimeoutMs);
        SQLite::Backup backup(target, source);
        // One step copies every page under one read lock: a consistent copy.
        const int rc = backup.executeStep(-1);
        if (rc != SQLITE_DONE)
            throw SQLite::Exception("The copy could not be completed.", rc);
    });
}

// ---------------------------------------------------------------------------
// Recordset

Recordset::Recordset(std::shared_ptr<Connection> conn, QString table, std::vector<FieldInfo> fields)
    : conn_(std::move(conn)), table_(std::move(table)), fields_(std::move(fields))
{
    // A new record set stands on its first row, if there is one. The first
    // read of a damaged table fails here; the record set is then never made,
    // so the connection must not hear of it before the read has succeeded.
    SQLite::Statement& st = conn_->statement(QStringLiteral("SELECT min(rowid) FROM ") + quoteName(table_));
    ResetGuard stGuard(st);
    translated(conn_->path(), [&] {
        st.executeStep();
        if (!st.getColumn(0).isNull()) {
            rowid_ = st.getColumn(0).getInt64();
            pos_ = Pos::Row;
        }
        st.reset();
    });
    conn_->addRecordset(this);
}

Recordset::~Recordset()
{
    try {
        CancelUpdate();
    } catch (...) {
    }
    conn_->removeRecordset(this);
}

bool Recordset::isOpen() const { return conn_->isOpen(); }

void Recordset::checkOpen() const
{
    if (!conn_->isOpen())
        throw StoreError(ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
}

void Recordset::requireRow() const
{
    checkOpen();
    if (pos_ == Pos::Deleted)
        throw StoreError(ErrorKind::RecordDeleted, QStringLiteral("Record is deleted."));
    if (pos_ != Pos::Row)
        throw StoreError(ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
}

long long Recordset::RecordCount() const
{
    checkOpen();
    return conn_->count(table_);
}

void Recordset::moveToEnd(bool last)
{
    checkOpen();
    CancelUpdate();
    SQLite::Statement& st = conn_->statement(QLatin1String(last ? "SELECT max(rowid) FROM " : "SELECT min(rowid) FROM ") +
                                             quoteName(table_));
    ResetGuard stGuard(st);
    const bool found = translated(conn_->path(), [&] {
        st.executeStep();
        const bool any = !st.getColumn(0).isNull();
        if (any)
            rowid_ = st.getColumn(0).getInt64();
        return any;
    });
    if (!found) {
        pos_ = Pos::Empty;
        throw StoreError(ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
    }
    pos_ = Pos::Row;
}

void Recordset::step(bool forward)
{
    checkOpen();
    if (forward ? (pos_ == Pos::Eof || pos_ == Pos::Empty) : (pos_ == Pos::Bof || pos_ == Pos::Empty))
        throw StoreError(ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
    CancelUpdate();
    // From before the first row (or past the last) the step lands on the
    // first (or last) row; from a row, or from a deleted one, on its neighbour.
    std::int64_t from = rowid_;
    if (forward && pos_ == Pos::Bof)
        from = std::numeric_limits<std::int64_t>::min();
    if (!forward && pos_ == Pos::Eof)
        from = std::numeric_limits<std::int64_t>::max();
    SQLite::Statement& st = conn_->statement(
        QLatin1String(forward ? "SELECT min(rowid) FROM " : "SELECT max(rowid) FROM ") + quoteName(table_) +
        QLatin1String(forward ? " WHERE rowid > ?1" : " WHERE rowid < ?1"));
    ResetGuard stGuard(st);
    translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(from));
        st.executeStep();
        if (st.getColumn(0).isNull()) {
            pos_ = forward ? Pos::Eof : Pos::Bof;
        } else {
            rowid_ = st.getColumn(0).getInt64();
            pos_ = Pos::Row;
        }
    });
}

void Recordset::MoveFirst() { moveToEnd(false); }
void Recordset::MoveLast() { moveToEnd(true); }
void Recordset::MoveNext() { step(true); }
void Recordset::MovePrevious() { step(false); }

bool Recordset::FindFirst(const QString& field, const QString& value)
{
    return FindFirst(std::vector<Criterion>{{field, value}});
}

bool Recordset::FindFirst(const std::vector<Criterion>& criteria)
{
    checkOpen();
    QStringList terms;
    for (size_t i = 0; i < criteria.size(); ++i)
        terms << quoteName(Field(criteria[i].field).name) + QStringLiteral(" = ?%1").arg(i + 1);
    QString sql = QStringLiteral("SELECT min(rowid) FROM ") + quoteName(table_);
    if (!terms.isEmpty())
        sql += QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    SQLite::Statement& st = conn_->statement(sql);
    ResetGuard stGuard(st);
    const bool found = translated(conn_->path(), [&] {
        for (size_t i = 0; i < criteria.size(); ++i)
            st.bind(static_cast<int>(i + 1), utf8(criteria[i].value));
        st.executeStep();
        const bool any = !st.getColumn(0).isNull();
        if (any) {
            CancelUpdate();
            rowid_ = st.getColumn(0).getInt64();
            pos_ = Pos::Row;
        }
        st.reset();
        return any;
    });
    return found;
}

bool Recordset::SetBookmark(std::int64_t rowid)
{
    checkOpen();
    SQLite::Statement& st =
        conn_->statement(QStringLiteral("SELECT 1 FROM ") + quoteName(table_) + " WHERE rowid = ?1");
    ResetGuard stGuard(st);
    const bool found = translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(rowid));
        const bool any = st.executeStep();
        st.reset();
        return any;
    });
    if (found) {
        CancelUpdate();
        rowid_ = rowid;
        pos_ = Pos::Row;
    }
    return found;
}

std::vector<Recordset::PageRow> Recordset::ReadPage(std::int64_t afterRowid, int limit) const
{
    std::vector<int> every(fields_.size());
    for (size_t i = 0; i < every.size(); ++i)
        every[i] = static_cast<int>(i);
    return ReadPage(afterRowid, limit, every);
}

const FieldInfo& Recordset::Field(int position) const
{
    if (position < 0 || position >= FieldCount())
        throw StoreError(ErrorKind::ItemNotFound, QStringLiteral("Item not found in this collection."));
    return fields_[static_cast<size_t>(position)];
}

int Recordset::FieldPosition(const QString& name) const
{
    for (int i = 0; i < FieldCount(); ++i)
        if (fields_[static_cast<size_t>(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw StoreError(ErrorKind::ItemNotFound, QStringLiteral("Item not found in this collection."));
}

const FieldInfo& Recordset::Field(const QString& name) const { return Field(FieldPosition(name)); }

std::vector<QVariant> Recordset::readRow(std::int64_t rowid) const
{
    SQLite::Statement& st =
        conn_->statement(QStringLiteral("SELECT * FROM ") + quoteName(table_) + " WHERE rowid = ?1");
    ResetGuard stGuard(st);
    std::vector<QVariant> row;
    const bool found = translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(rowid));
        if (!st.executeStep())
            return false;
        const int n = std::min(st.getColumnCount(), FieldCount());
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            row.push_back(columnValue(st.getColumn(i)));
        st.reset();
        return true;
    });
    if (!found)
        throw StoreError(ErrorKind::RecordDeleted, QStringLiteral("Record is deleted."));
    row.resize(fields_.size());
    return row;
}

QVariant Recordset::storedToValue(int position, const QVariant& stored) const
{
    if (!stored.isValid() || stored.isNull())
        return QVariant();
    if (Field(position).type == dbDate && stored.typeId() == QMetaType::QString) {
        const QDate d = QDate::fromString(stored.toString(), Qt::ISODate);
        if (d.isValid())
            return QVariant(d);
    }
    return stored;
}

QVariant Recordset::Value(int position) const
{
    checkOpen();
    Field(position);
    if (mode_ != Mode::None)
        return storedToValue(position, buffer_[static_cast<size_t>(position)]);
    requireRow();
    const auto row = readRow(rowid_);
    return storedToValue(position, row[static_cast<size_t>(position)]);
}

QVariant Recordset::Value(const QString& name) const { return Value(FieldPosition(name)); }

QString Recordset::Text(int position) const
{
    const QVariant v = Value(position);
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return v.toString();
}

QString Recordset::Text(const QString& name) const { return Text(FieldPosition(name)); }

// Turns a value into what the field stores, refusing what the field cannot hold.
QVariant Recordset::valueToStored(int position, const QVariant& value) const
{
    const FieldInfo& f = Field(position);
    const QString where = table_ + QLatin1Char('.') + f.name;
    if (!value.isValid() || value.isNull())
        return QVariant();

    if (isTextType(f.type)) {
        QString s = value.typeId() == QMetaType::QDate ? value.toDate().toString(Qt::ISODate)
                                                       : value.toString();
        return QVariant(s);
    }
    if (isWholeType(f.type)) {
        double d = 0;
        bool ok = true;
        switch (value.typeId()) {
        case QMetaType::Bool:
            return QVariant(static_cast<qlonglong>(value.toBool() ? -1 : 0));
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::Long:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return QVariant(value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            d = value.toDouble();
            break;
        default: {
            const QString s = value.toString();
            ok = convert::IsNumeric(s);
            if (ok)
                d = convert::ToDouble(s);
        }
        }
        if (!ok)
            throw StoreError(ErrorKind::Validation,
                             QStringLiteral("Data type conversion error: field '%1' holds a number.").arg(where));
        d = std::nearbyint(d);  // the default rounding mode rounds halves to even
        if (!std::isfinite(d) || d < -9.2e18 || d > 9.2e18)
            throw StoreError(ErrorKind::Validation, QStringLiteral("Numeric field overflow: field '%1'.").arg(where));
        return QVariant(static_cast<qlonglong>(d));
    }
    if (f.type == dbDate) {
        QDate date;
        if (value.typeId() == QMetaType::QDate)
            date = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            date = value.toDateTime().date();
        else
            date = QDate::fromString(value.toString(), Qt::ISODate);
        if (!date.isValid())
            throw StoreError(ErrorKind::Validation,
                             QStringLiteral("Data type conversion error: field '%1' holds a date.").arg(where));
        return QVariant(date.toString(Qt::ISODate));
    }
    if (f.type == dbDouble)
        return QVariant(value.toDouble());
    return value;
}

void Recordset::SetValue(int position, const QVariant& value)
{
    checkOpen();
    Field(position);
    if (mode_ == Mode::None)
        throw StoreError(ErrorKind::NoEditPending, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    buffer_[static_cast<size_t>(position)] = valueToStored(position, value);
}

void Recordset::SetValue(const QString& name, const QVariant& value) { SetValue(FieldPosition(name), value); }

void Recordset::AddNew()
{
    checkOpen();
    CancelUpdate();
    buffer_.assign(fields_.size(), QVariant());
    mode_ = Mode::Adding;
    pendingEdits().push_back(this);
}

void Recordset::Edit()
{
    requireRow();
    CancelUpdate();
    conn_->acquireWriteLock();
    try {
        buffer_ = readRow(rowid_);
    } catch (...) {
        conn_->abandonWriteLock();
        throw;
    }
    mode_ = Mode::Editing;
    pendingEdits().push_back(this);
}

void Recordset::endEdit(bool commit)
{
    const bool held = mode_ == Mode::Editing;
    mode_ = Mode::None;
    buffer_.clear();
    auto& list = pendingEdits();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (!held || !conn_->isOpen())
        return;
    // An edit given up has written nothing worth keeping; letting go of its
    // lock must not try to commit a transaction the engine may already have
    // undone after a failure (a full disk, say).
    if (commit)
        conn_->releaseWriteLock();
    else
        conn_->abandonWriteLock();
}

void Recordset::CancelUpdate()
{
    if (mode_ == Mode::None)
        return;
    endEdit(false);
}

void Recordset::Update()
{
    checkOpen();
    if (mode_ == Mode::None)
        throw StoreError(ErrorKind::NoEditPending, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    try {
        // The rules of every field, checked before anything is written.
        for (int i = 0; i < FieldCount(); ++i) {
            const FieldInfo& f = fields_[static_cast<size_t>(i)];
            const QVariant& v = buffer_[static_cast<size_t>(i)];
            const QString where = table_ + QLatin1Char('.') + f.name;
            if (!v.isValid() || v.isNull()) {
                if (f.notNull)
                    throw StoreError(ErrorKind::Validation,
                                     QStringLiteral("Index or primary key cannot contain a Null value (field '%1').")
                                         .arg(where));
                continue;
            }
            if (isTextType(f.type)) {
                // Characters, as the file's own rule counts them: a character
                // outside the basic plane is one, not two.
                const qsizetype len = convert::CharacterCount(v.toString());
                // The file's own rules measure a text only up to a NUL, so one
                // would let a text past them unseen (or fail them unclearly).
                if (v.toString().contains(QChar(0)))
                    throw StoreError(ErrorKind::Validation,
                                     QStringLiteral("Field '%1' cannot hold the control character NUL (code 0).")
                                         .arg(where));
                if (len == 0)
                    throw StoreError(ErrorKind::Validation,
                                     QStringLiteral("Field '%1' cannot be a zero-length string.").arg(where));
                if (f.type == dbText && len > f.size)
                    throw StoreError(ErrorKind::Validation,
                                     QStringLiteral("The field '%1' is too small to accept the amount of data "
                                                    "you attempted to add: it holds at most %2 characters.")
                                         .arg(where)
                                         .arg(f.size));
            } else if (isWholeType(f.type)) {
                const qlonglong n = v.toLongLong();
                qlonglong lo = std::numeric_limits<qlonglong>::min(), hi = std::numeric_limits<qlonglong>::max();
                if (f.type == dbLong) {
                    lo = std::numeric_limits<qint32>::min();
                    hi = std::numeric_limits<qint32>::max();
                } else if (f.type == dbInteger) {
                    lo = -32768;
                    hi = 32767;
                } else if (f.type == dbByte) {
                    lo = 0;
                    hi = 255;
                }
                if (n < lo || n > hi)
                    throw StoreError(ErrorKind::Validation,
                                     QStringLiteral("Numeric field overflow: field '%1' holds %2 to %3.")
                                         .arg(where)
                                         .arg(lo)
                                         .arg(hi));
            }
        }

        QStringList names, marks;
        for (int i = 0; i < FieldCount(); ++i) {
            names << quoteName(fields_[static_cast<size_t>(i)].name);
            marks << QStringLiteral("?%1").arg(i + 1);
        }
        const bool adding = mode_ == Mode::Adding;
        QString sql;
        if (adding) {
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteName(table_), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        } else {
            QStringList sets;
            for (int i = 0; i < FieldCount(); ++i)
                sets << names[i] + QStringLiteral(" = ") + marks[i];
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                      .arg(quoteName(table_), sets.join(QStringLiteral(", ")))
                      .arg(FieldCount() + 1);
        }

        if (adding)
            conn_->acquireWriteLock();
        std::int64_t written = 0;
        try {
            SQLite::Statement& st = conn_->statement(sql);
            ResetGuard stGuard(st);
            const qint64 changesBefore = conn_->totalChanges();
            const int rows = translated(conn_->path(), [&] {
                for (int i = 0; i < FieldCount(); ++i)
                    bindValue(st, i + 1, buffer_[static_cast<size_t>(i)]);
                if (!adding)
                    st.bind(FieldCount() + 1, static_cast<int64_t>(rowid_));
                const int n = st.exec();
                st.reset();
                return n;
            });
            conn_->noteWrite(table_, changesBefore, rows, adding ? rows : 0);
            written = adding ? sqlite3_last_insert_rowid(conn_->db().getHandle()) : rowid_;
        } catch (...) {
            if (adding)
                conn_->abandonWriteLock();
            throw;
        }
        if (adding)
            conn_->releaseWriteLock();
        lastModified_ = written;
        endEdit(true);  // commits an edit, releasing its lock
    } catch (const StoreError& e) {
        if (e.kind() == ErrorKind::Validation && e.sqliteCode() != 0) {
            // The file's own rules refused the row: say so in the shop's words.
            const int code = e.sqliteCode();
            CancelUpdate();
            if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
                throw StoreError(ErrorKind::Validation,
                                 QStringLiteral("The record was not saved: another record of '%1' already has this "
                                                "value in its primary key (%2).")
                                     .arg(table_, e.description()),
                                 code);
            throw StoreError(ErrorKind::Validation,
                             QStringLiteral("The record was not saved: a value breaks a rule of table '%1' (%2).")
                                 .arg(table_, e.description()),
                             code);
        }
        CancelUpdate();
        throw;
    } catch (...) {
        CancelUpdate();
        throw;
    }
}

void Recordset::Delete()
{
    requireRow();
    CancelUpdate();
    conn_->acquireWriteLock();
    int changed = 0;
    try {
        SQLite::Statement& st =
            conn_->statement(QStringLiteral("DELETE FROM ") + quoteName(table_) + " WHERE rowid = ?1");
        ResetGuard stGuard(st);
        const qint64 changesBefore = conn_->totalChanges();
        changed = translated(conn_->path(), [&] {
            st.bind(1, static_cast<int64_t>(rowid_));
            const int n = st.exec();
            st.reset();
            return n;
        });
        conn_->noteWrite(table_, changesBefore, changed, -changed);
    } catch (...) {
        conn_->abandonWriteLock();
        throw;
    }
    conn_->releaseWriteLock();
    if (changed == 0)
        throw StoreError(ErrorKind::RecordDeleted, QStringLiteral("Record is deleted."));
    pos_ = Pos::Deleted;
}

std::int64_t Recordset::ReadTextPage(std::int64_t afterRowid, int limit, const std::vector<int>& positions,
                                     const TextVisitor& visit) const
{
    checkOpen();
    QStringList columns{QStringLiteral("rowid")};
    for (int p : positions)
        columns << quoteName(Field(p).name);
    if (limit <= 0)
        return afterRowid;
    SQLite::Statement& st = conn_->statement(QStringLiteral("SELECT %1 FROM %2 WHERE rowid > ?1 ORDER BY rowid LIMIT ?2")
                                                 .arg(columns.join(QStringLiteral(", ")), quoteName(table_)));
    ResetGuard stGuard(st);
    std::vector<FieldText> texts(positions.size());
    // Numbers written into a text field by another program read as Text()
    // shows them; the spelling is kept here while visit runs.
    std::vector<QByteArray> spelled(positions.size());
    std::int64_t last = afterRowid;
    translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(afterRowid));
        st.bind(2, limit);
        while (st.executeStep()) {
            last = st.getColumn(0).getInt64();
            for (size_t i = 0; i < positions.size(); ++i) {
                const SQLite::Column c = st.getColumn(static_cast<int>(i) + 1);
                switch (c.getType()) {
                case SQLITE_NULL:
                    texts[i] = FieldText{};
                    break;
                case SQLITE_INTEGER:
                case SQLITE_FLOAT:
                    spelled[i] = columnValue(c).toString().toUtf8();
                    texts[i] = FieldText{spelled[i].constData(), static_cast<int>(spelled[i].size())};
                    break;
                default:  // text, and bytes read as UTF-8
                    texts[i] = FieldText{c.getText(), c.getBytes()};
                    break;
                }
            }
            visit(last, texts.data());
        }
        st.reset();
    });
    return last;
}


std::int64_t Database::DataVersion() const { return conn_->dataVersion(); }

void Recordset::Move(long long rows, std::int64_t startBookmark)
{
    checkOpen();
    std::int64_t from = rowid_;
    if (startBookmark != 0) {
        from = startBookmark;
    } else if (pos_ == Pos::Empty || (pos_ == Pos::Bof && rows <= 0) || (pos_ == Pos::Eof && rows >= 0)) {
        throw StoreError(ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
    } else if (pos_ == Pos::Bof) {
        from = std::numeric_limits<std::int64_t>::min();
    } else if (pos_ == Pos::Eof) {
        from = std::numeric_limits<std::int64_t>::max();
    }
    if (rows == 0) {
        if (startBookmark == 0)
            requireRow();
        // The start row must still be there to become current.
        readRow(from);
        CancelUpdate();
        rowid_ = from;
        pos_ = Pos::Row;
        return;
    }
    CancelUpdate();
    const bool forward = rows > 0;
    SQLite::Statement& st = conn_->statement(
        QStringLiteral("SELECT rowid FROM ") + quoteName(table_) +
        QLatin1String(forward ? " WHERE rowid > ?1 ORDER BY rowid LIMIT 1 OFFSET ?2"
                              : " WHERE rowid < ?1 ORDER BY rowid DESC LIMIT 1 OFFSET ?2"));
    ResetGuard stGuard(st);
    translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(from));
        st.bind(2, static_cast<int64_t>((forward ? rows : -rows) - 1));
        if (st.executeStep()) {
            rowid_ = st.getColumn(0).getInt64();
            pos_ = Pos::Row;
        } else {
            pos_ = forward ? Pos::Eof : Pos::Bof;
        }
        st.reset();
    });
}

std::vector<Recordset::PageRow> Recordset::ReadPage(std::int64_t afterRowid, int limit,
                                                    const std::vector<int>& positions) const
{
    checkOpen();
    QStringList columns{QStringLiteral("rowid")};
    for (int position : positions)
        columns << quoteName(Field(position).name);
    std::vector<PageRow> page;
    if (limit <= 0)
        return page;
    SQLite::Statement& st = conn_->statement(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                                             QStringLiteral(" FROM ") + quoteName(table_) +
                                             QStringLiteral(" WHERE rowid > ?1 ORDER BY rowid LIMIT ?2"));
    ResetGuard stGuard(st);
    translated(conn_->path(), [&] {
        st.bind(1, static_cast<int64_t>(afterRowid));
        st.bind(2, limit);
        page.reserve(static_cast<size_t>(std::min(limit, 1 << 16)));
        while (st.executeStep()) {
            PageRow row;
            row.rowid = st.getColumn(0).getInt64();
            row.values.reserve(positions.size());
            for (size_t i = 0; i < positions.size(); ++i)
                row.values.push_back(storedToValue(positions[i], columnValue(st.getColumn(static_cast<int>(i) + 1))));
            page.push_back(std::move(row));
        }
        st.reset();
    });
    return page;
}

}  // namespace store
