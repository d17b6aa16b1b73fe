#include "browse/DbaseData.h"

#include "platform/Convert.h"

#include <QMetaObject>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace browse {

namespace {

[[noreturn]] void noCurrentRecord()
{
    throw store::StoreError(store::ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
}

[[noreturn]] void recordDeleted()
{
    throw store::StoreError(store::ErrorKind::RecordDeleted, QStringLiteral("Record is deleted."));
}

bool alignsRight(int type)
{
    return type != store::dbText && type != store::dbMemo && type != store::dbLongBinary;
}

}  // namespace

const QString DataSource::kDeletedText = QStringLiteral("#Deleted");

DataSource::DataSource(QObject* parent) : QAbstractTableModel(parent) {}

DataSource::~DataSource()
{
    if (db_)
        db_->Close();
}

void DataSource::requireOpen() const
{
    if (!rs_)
        throw store::StoreError(store::ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
}

void DataSource::forgetRows()
{
    fields_.clear();
    rows_ = 0;
    firstKey_ = lastKey_ = 0;
    direct_ = true;
    pageKeys_.clear();
    pageKeys_.shrink_to_fit();
    cache_.clear();
}

void DataSource::Refresh()
{
    beginResetModel();
    try {
        forgetRows();
        rs_.reset();
        if (!db_ || !db_->isOpen() || db_->path() != path_)
            db_ = store::Database::OpenDatabase(path_);
        rs_ = db_->OpenRecordset(table_);
        std::vector<store::FieldInfo> fields;
        for (int i = 0; i < rs_->FieldCount(); ++i)
            fields.push_back(rs_->Field(i));
        // The count and the two ends are read apart; another program's
        // commit in between would make them disagree, so they are read
        // again until no commit came between.
        long long count = 0;
        for (int attempt = 0;; ++attempt) {
            const auto before = db_->DataVersion();
            count = rs_->RecordCount();
            firstKey_ = lastKey_ = 0;
            if (count > 0) {
                try {
                    rs_->MoveFirst();
                    firstKey_ = rs_->Bookmark();
                    rs_->MoveLast();
                    lastKey_ = rs_->Bookmark();
                } catch (const store::StoreError& e) {
                    if (e.kind() != store::ErrorKind::NoCurrentRecord)
                        throw;
                    count = 0;  // emptied meanwhile: read again
                }
            }
            if (db_->DataVersion() == before || attempt >= 8) {
                version_ = before;
                break;
            }
        }
        fields_ = std::move(fields);
        rows_ = static_cast<int>(std::min<long long>(count, INT_MAX));
        direct_ = rows_ == 0 || lastKey_ - firstKey_ + 1 == rows_;
        if (!direct_)
            pageKeys_.resize(static_cast<size_t>((rows_ + kPageRows - 1) / kPageRows));
    } catch (...) {
        forgetRows();
        rs_.reset();
        endResetModel();
        setCurrent(-1);
        throw;
    }
    endResetModel();
    // The record set stands on its first row.
    currentRow_ = -1;
    setCurrent(rows_ > 0 ? 0 : -1);
}

void DataSource::Close()
{
    beginResetModel();
    forgetRows();
    rs_.reset();
    if (db_) {
        db_->Close();
        db_.reset();
    }
    endResetModel();
    setCurrent(-1);
}

long long DataSource::RecordCount() const
{
    requireOpen();
    return rows_;
}

void DataSource::setCurrent(int row)
{
    if (row == currentRow_)
        return;
    currentRow_ = row;
    emit currentRowChanged(row);
}

void DataSource::SetCurrentRow(int row) { setCurrent(row >= 0 && row < rows_ ? row : -1); }

void DataSource::MoveNext()
{
    requireOpen();
    if (currentRow_ < 0)
        noCurrentRecord();
    setCurrent(currentRow_ + 1 < rows_ ? currentRow_ + 1 : -1);
}

void DataSource::MoveLast()
{
    requireOpen();
    if (rows_ == 0)
        noCurrentRecord();
    setCurrent(rows_ - 1);
}

void DataSource::Delete()
{
    requireOpen();
    if (currentRow_ < 0)
        noCurrentRecord();
    const int row = currentRow_;
    const std::int64_t key = Bookmark(row);
    if (key == 0 || !rs_->SetBookmark(key))
        recordDeleted();
    rs_->Delete();
    // Until the records are read again the row shows as deleted.
    const auto kept =
        std::find_if(cache_.begin(), cache_.end(), [&](const Page& p) { return p.number == row / kPageRows; });
    if (kept != cache_.end())
        kept->gone[static_cast<size_t>(row % kPageRows)] = true;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

std::int64_t DataSource::Bookmark(int row) const
{
    requireOpen();
    if (row < 0 || row >= rows_)
        noCurrentRecord();
    if (direct_)
        return firstKey_ + row;
    return page(row / kPageRows).keys[static_cast<size_t>(row % kPageRows)];
}

bool DataSource::IsDeleted(int row) const
{
    requireOpen();
    if (row < 0 || row >= rows_)
        noCurrentRecord();
    return page(row / kPageRows).gone[static_cast<size_t>(row % kPageRows)];
}

QString DataSource::Text(int row, int column) const
{
    requireOpen();
    if (row < 0 || row >= rows_)
        noCurrentRecord();
    if (column < 0 || column >= columnCount())
        throw store::StoreError(store::ErrorKind::ItemNotFound, QStringLiteral("Item not found in this collection."));
    const Page& p = page(row / kPageRows);
    const size_t i = static_cast<size_t>(row % kPageRows);
    return p.gone[i] ? kDeletedText : p.cells[i * fields_.size() + static_cast<size_t>(column)];
}

// Another connection's commit may have changed or deleted rows that are kept
// here: the file is asked once per round of events, and the kept pages are
// dropped when it has changed. The rowids stay: the rows are the rows read.
void DataSource::noticeOutsideChanges() const
{
    if (checkedThisRound_ || !db_)
        return;
    checkedThisRound_ = true;
    QMetaObject::invokeMethod(
        const_cast<DataSource*>(this), [this] { checkedThisRound_ = false; }, Qt::QueuedConnection);
    const std::int64_t version = db_->DataVersion();
    if (version != version_) {
        version_ = version;
        cache_.clear();
    }
}

const DataSource::Page& DataSource::page(int number) const
{
    noticeOutsideChanges();
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (it->number == number) {
            cache_.splice(cache_.begin(), cache_, it);
            return cache_.front();
        }
    }
    Page fresh = readPage(number);
    if (cache_.size() >= static_cast<size_t>(kCachedPages))
        cache_.pop_back();
    cache_.push_front(std::move(fresh));
    return cache_.front();
}

DataSource::Page DataSource::readPage(int number) const
{
    const int first = number * kPageRows;
    const int count = std::min(kPageRows, rows_ - first);
    Page p;
    p.number = number;
    p.gone.assign(static_cast<size_t>(count), true);
    p.cells.resize(static_cast<size_t>(count) * fields_.size());

    std::vector<std::int64_t>* learnt = direct_ ? nullptr : &pageKeys_[static_cast<size_t>(number)];
    const bool keysKnown = direct_ || !learnt->empty();
    if (direct_) {
        p.keys.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            p.keys[static_cast<size_t>(i)] = firstKey_ + first + i;
    } else if (keysKnown) {
        p.keys = *learnt;
    } else {
        p.keys.assign(static_cast<size_t>(count), 0);
    }

    const auto fill = [&](size_t i, const store::Recordset::PageRow& r) {
        p.gone[i] = false;
        for (size_t c = 0; c < fields_.size() && c < r.values.size(); ++c)
            p.cells[i * fields_.size() + c] = cellText(static_cast<int>(c), r.values[c]);
    };

    if (keysKnown) {
        // The page's rows are those rowids; the ones missing now are gone.
        const auto lastKnown = std::find_if(p.keys.rbegin(), p.keys.rend(), [](std::int64_t k) { return k != 0; });
        if (lastKnown == p.keys.rend())
            return p;
        const std::int64_t lastKey = *lastKnown;
        std::int64_t after = p.keys.front() - 1;
        size_t i = 0;
        for (;;) {
            const auto rows = rs_->ReadPage(after, count);
            for (const auto& r : rows) {
                while (i < p.keys.size() && p.keys[i] != 0 && p.keys[i] < r.rowid)
                    ++i;
                if (i < p.keys.size() && p.keys[i] == r.rowid)
                    fill(i, r);
            }
            if (static_cast<int>(rows.size()) < count || rows.back().rowid >= lastKey)
                break;
            after = rows.back().rowid;
        }
    } else {
        // First read of a page of a table with gaps: its rows are the next
        // rows of the table from where the page starts.
        const std::int64_t start = locateRow(first);
        if (start != 0) {
            const auto rows = rs_->ReadPage(start - 1, count);
            for (size_t i = 0; i < rows.size(); ++i) {
                p.keys[i] = rows[i].rowid;
                fill(i, rows[i]);
            }
        }
        *learnt = p.keys;
    }
    return p;
}

// The rowid of a row of a table with gaps, found from the nearest row whose
// rowid is known by skipping the rows in between; 0 when the table no longer
// reaches that far.
std::int64_t DataSource::locateRow(long long row) const
{
    long long anchorRow = 0;
    std::int64_t anchorKey = firstKey_;
    const auto consider = [&](long long r, std::int64_t key) {
        if (key != 0 && std::llabs(row - r) < std::llabs(row - anchorRow)) {
            anchorRow = r;
            anchorKey = key;
        }
    };
    consider(rows_ - 1, lastKey_);
    for (size_t q = 0; q < pageKeys_.size(); ++q) {
        const auto& keys = pageKeys_[q];
        const long long base = static_cast<long long>(q) * kPageRows;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] != 0) {
                consider(base + static_cast<long long>(i), keys[i]);
                break;
            }
        for (size_t i = keys.size(); i-- > 0;)
            if (keys[i] != 0) {
                consider(base + static_cast<long long>(i), keys[i]);
                break;
            }
    }
    if (row == anchorRow)
        return anchorKey;
    rs_->Move(row - anchorRow, anchorKey);
    return rs_->Eof() || rs_->Bof() ? 0 : rs_->Bookmark();
}

QString DataSource::cellText(int column, const QVariant& value) const
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (fields_[static_cast<size_t>(column)].type == store::dbDate && value.typeId() == QMetaType::QDate)
        return convert::ShortDate(value.toDate());
    return value.toString();
}

int DataSource::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataSource::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant DataSource::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return QVariant();
    if (role == Qt::TextAlignmentRole) {
        const bool right = alignsRight(fields_[static_cast<size_t>(index.column())].type);
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    // A view must never meet an exception: a row that cannot be read now
    // shows nothing, and is tried again at the next paint.
    try {
        return Text(index.row(), index.column());
    } catch (...) {
        return QVariant();
    }
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return fields_[static_cast<size_t>(section)].name;
    return QVariant();
}

Qt::ItemFlags DataSource::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace browse
