// The grid window's data source: it binds a grid to one table of a database
// file through a connection of its own and hands the grid its rows.
//
// The rows are the table's rows in natural (rowid) order as they stood when
// the records were last read: they are counted then, and each row keeps the
// rowid it had, so a row that another window or program deletes afterwards
// shows as deleted instead of moving the rows below it. Values are read a
// page at a time, only for the pages the grid asks for, and a few pages are
// kept; every read ends before the call returns, so no read lock is ever held
// between two reads and the counter can always write to the file.
//
// Row number to rowid: when the rowids run without a gap from the first row
// to the last (the usual case) a row's rowid is worked out; otherwise the
// rowids of a page are learnt when the page is first read, reaching a page
// far from any page already read by skipping rows inside the engine.
#pragma once

#include "platform/Store.h"

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace browse {

class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 128;
    static constexpr int kCachedPages = 32;

    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    // The file and the table to bind to; they take effect at the next Refresh.
    void setDatabaseName(const QString& path) { path_ = path; }
    void setRecordSource(const QString& table) { table_ = table; }
    QString databaseName() const { return path_; }
    QString recordSource() const { return table_; }

    // Binds to the file and the table and reads the records anew: the fields
    // become the columns, the rows are counted, and the first row (if any)
    // becomes the current record. A failure leaves the source without rows
    // and columns, and is passed on.
    void Refresh();
    // Switches the source off: its connection is closed, it has no rows and
    // no columns, until the next Refresh.
    void Close();
    bool isOpen() const { return static_cast<bool>(rs_); }

    // The number of rows as last read.
    long long RecordCount() const;

    // The current record: the row the grid highlights; -1 when there is none.
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);
    // One row on, or past the last row (no current record).
    void MoveNext();
    void MoveLast();
    // Deletes the current record from the table.
    void Delete();

    // A row's rowid (0 when it is not known: the row was gone before it was
    // first read), whether it is gone from the table, and a cell's text.
    std::int64_t Bookmark(int row) const;
    bool IsDeleted(int row) const;
    QString Text(int row, int column) const;
    // The fields of the table bound, in the table's order: the columns.
    const std::vector<store::FieldInfo>& Fields() const { return fields_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // What a cell of a row that is gone from the table shows.
    static const QString kDeletedText;

signals:
    void currentRowChanged(int row);

private:
    struct Page {
        int number = 0;
        std::vector<std::int64_t> keys;  // rowid of each row, 0 where unknown
        std::vector<bool> gone;
        std::vector<QString> cells;      // row by row
    };

    void requireOpen() const;
    void forgetRows();
    void setCurrent(int row);
    const Page& page(int number) const;
    Page readPage(int number) const;
    std::int64_t locateRow(long long row) const;
    void noticeOutsideChanges() const;
    QString cellText(int column, const QVariant& value) const;

    QString path_;
    QString table_;
    std::shared_ptr<store::Database> db_;
    std::shared_ptr<store::Recordset> rs_;
    std::vector<store::FieldInfo> fields_;
    int rows_ = 0;
    int currentRow_ = -1;
    std::int64_t firstKey_ = 0;
    std::int64_t lastKey_ = 0;
    bool direct_ = true;  // rowid = firstKey_ + row

    // The rowids of each page once learnt, when they have gaps.
    mutable std::vector<std::vector<std::int64_t>> pageKeys_;
    mutable std::list<Page> cache_;  // most recently used first
    mutable std::int64_t version_ = 0;
    mutable bool checkedThisRound_ = false;
};

}  // namespace browse
