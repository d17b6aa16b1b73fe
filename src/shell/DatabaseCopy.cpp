#include "shell/DatabaseCopy.h"

#include "data/modQuorvane.h"
#include "platform/Store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <exception>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using store::ErrorKind;
using store::StoreError;

namespace dbcopy {

namespace {

// The files SQLite keeps beside a database while it writes to it.
const char* const kSideFiles[] = {"-journal", "-wal", "-shm"};

// The absolute path with every link resolved; for a file that does not exist
// yet, its folder's links are resolved.
QString resolvedPath(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.exists()) {
        const QString canonical = fi.canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
    }
    const QString folder = QFileInfo(fi.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? fi.absolutePath() : folder) + QLatin1Char('/') +
                           fi.fileName());
}

bool samePath(const QString& a, const QString& b)
{
#if defined(Q_OS_WIN)
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

// Two names of one file: the same device and file number.
bool sameFile(const QString& a, const QString& b)
{
#if defined(Q_OS_UNIX)
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0)
        return false;
    if (::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
    Q_UNUSED(a);
    Q_UNUSED(b);
    return false;
#endif
}

std::filesystem::path fsPath(const QString& path)
{
#if defined(Q_OS_WIN)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

void removeWithSideFiles(const QString& path)
{
    QFile::remove(path);
    for (const char* suffix : kSideFiles)
        QFile::remove(path + QLatin1String(suffix));
}

// A name beside the target that no file has, for the copy while it is made.
QString temporaryName(const QString& folder, const QString& fileName)
{
    for (;;) {
        const QString tag = QString::number(QRandomGenerator::global()->generate64(), 16);
        const QString name = folder + QStringLiteral("/.") + fileName + QStringLiteral(".copy-") + tag;
        bool taken = QFileInfo::exists(name) || QFileInfo(name).isSymLink();
        for (const char* suffix : kSideFiles)
            taken = taken || QFileInfo::exists(name + QLatin1String(suffix));
        if (!taken)
            return name;
    }
}

// Removes the copy in the making unless it has been put in place.
class TemporaryCopy {
public:
    explicit TemporaryCopy(QString path) : path_(std::move(path)) {}
    ~TemporaryCopy()
    {
        if (!kept_)
            removeWithSideFiles(path_);
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    const QString& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

// The store names the file it was working on; the clerk knows only the name
// chosen in the dialog.
[[noreturn]] void copyFailed(const StoreError& e, const QString& temporary, const QString& target)
{
    QString why = e.description();
    why.replace(temporary, target);
    throw StoreError(e.kind(),
                     QStringLiteral("The database could not be copied to '%1': %2").arg(target, why),
                     e.sqliteCode());
}

}  // namespace

bool IsDatabaseFile(const QString& target, const QString& database)
{
    if (target.isEmpty() || database.isEmpty())
        return false;
    const QString resolvedTarget = resolvedPath(target);
    const QString resolvedDatabase = resolvedPath(database);
    if (samePath(resolvedTarget, resolvedDatabase) || sameFile(target, database))
        return true;
    for (const char* suffix : kSideFiles) {
        const QString side = QLatin1String(suffix);
        if (samePath(resolvedTarget, resolvedPath(database + side)) ||
            samePath(resolvedTarget, resolvedDatabase + side) || sameFile(target, database + side) ||
            sameFile(target, resolvedDatabase + side))
            return true;
    }
    return false;
}

void WriteCheckedCopy(const QString& source, const QString& target)
{
    if (IsDatabaseFile(target, source))
        throw StoreError(ErrorKind::Validation, kOntoItself);

    // A name that is a link stands for the file it points to.
    QString finalPath = QFileInfo(target).absoluteFilePath();
    if (QFileInfo(target).isSymLink()) {
        const QString pointed = QFileInfo(target).canonicalFilePath();
        if (!pointed.isEmpty())
            finalPath = pointed;
    }
    const QFileInfo place(finalPath);
    if (place.isDir())
        throw StoreError(ErrorKind::Io,
                         QStringLiteral("The database could not be copied to '%1': it is a folder.").arg(target));
    const QString folder = place.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw StoreError(ErrorKind::Io,
                         QStringLiteral("The database could not be copied to '%1': the folder '%2' does not exist.")
                             .arg(target, QDir::toNativeSeparators(folder)));

    TemporaryCopy copy(temporaryName(folder, place.fileName()));
    try {
        auto from = store::Database::OpenDatabase(source, false, false);
        from->BackupTo(copy.path());
        from->Close();
    } catch (const StoreError& e) {
        copyFailed(e, copy.path(), target);
    }

    QString verdict;
    try {
        auto check = store::Database::OpenDatabase(copy.path(), false, true);
        verdict = check->QuickCheck();
        check->Close();
    } catch (const StoreError& e) {
        copyFailed(e, copy.path(), target);
    }
    if (verdict != QLatin1String("ok"))
        throw StoreError(ErrorKind::NotADatabase,
                         QStringLiteral("The copy written to '%1' failed its check (%2); it has been removed.")
                             .arg(target, verdict));

    // A file replaced keeps its permissions, as it would when written over.
    if (place.exists())
        QFile::setPermissions(copy.path(), QFile::permissions(finalPath));
    std::error_code ec;
    std::filesystem::rename(fsPath(copy.path()), fsPath(finalPath), ec);
    if (ec)
        throw StoreError(ErrorKind::Io, QStringLiteral("The database could not be copied to '%1': %2.")
                                            .arg(target, QString::fromLocal8Bit(ec.message().c_str())));
    copy.keep();
    // A journal left beside the file just replaced belonged to that file;
    // opening the copy would apply it to the copy and spoil it.
    for (const char* suffix : kSideFiles)
        QFile::remove(finalPath + QLatin1String(suffix));
}

void SaveDatabaseAs(const QString& target)
{
    using namespace modQuorvane;
    if (IsDatabaseFile(target, DbPath))
        throw StoreError(ErrorKind::Validation, kOntoItself);

    // The search results read their own record set over a shared table; it
    // is opened again with the others.
    const QString searchTable = rsSearch && rsSearch->isOpen() ? rsSearch->Name() : QString();
    if (dbMain)
        dbMain->Close();

    std::exception_ptr failure;
    try {
        WriteCheckedCopy(DbPath, target);
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        OpenMainDatabase();
        if (!searchTable.isEmpty())
            rsSearch = dbMain->OpenRecordset(searchTable);
    } catch (const StoreError& e) {
        // The next command opens the file again. The clerk hears about the
        // copy first: it is what was asked for.
        if (failure)
            std::rethrow_exception(failure);
        throw StoreError(e.kind(),
                         QStringLiteral("The database was copied to '%1', but could not be opened again (%2).")
                             .arg(target, e.description()),
                         e.sqliteCode());
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace dbcopy
