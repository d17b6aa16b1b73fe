#include "browse/SearchResults.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace search {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}  // namespace

// One of the two lists: the rows it shows are the lines published so far.
class SearchResults::List : public QAbstractListModel {
public:
    List(const SearchResults& results, bool values) : QAbstractListModel(nullptr), results_(results), values_(values) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows_ || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return QVariant();
        return values_ ? results_.value(index.row()) : results_.line(index.row());
    }

    void showUpTo(qsizetype count)
    {
        const int target = static_cast<int>(std::min<qsizetype>(count, std::numeric_limits<int>::max()));
        if (target <= rows_)
            return;
        beginInsertRows(QModelIndex(), rows_, target - 1);
        rows_ = target;
        endInsertRows();
    }

    void empty()
    {
        beginResetModel();
        rows_ = 0;
        endResetModel();
    }

private:
    const SearchResults& results_;
    const bool values_;
    int rows_ = 0;
};

SearchResults::SearchResults(QObject* parent)
    : QObject(parent), lines_(new List(*this, false)), values_(new List(*this, true))
{
    lines_->setParent(this);
    values_->setParent(this);
}

SearchResults::~SearchResults() = default;

QAbstractListModel* SearchResults::lines() const { return lines_; }
QAbstractListModel* SearchResults::values() const { return values_; }

std::string_view SearchResults::text(std::uint32_t block, std::uint32_t start, std::uint32_t size) const
{
    return std::string_view(blocks_[block].get() + start, size);
}

QString SearchResults::line(qsizetype i) const
{
    if (i < 0 || i >= count())
        return QString();
    const Entry& e = entries_[static_cast<size_t>(i)];
    const std::string_view t = text(e.block, e.lineStart, e.lineSize);
    // The number is the line's place: every search starts on empty lists.
    return QString::number(i + 1) + QStringLiteral(". ") + QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString SearchResults::value(qsizetype i) const
{
    if (i < 0 || i >= count())
        return QString();
    const Entry& e = entries_[static_cast<size_t>(i)];
    const std::string_view t = text(e.block, e.valueStart, e.valueSize);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

std::pair<std::uint32_t, std::uint32_t> SearchResults::reserve(std::size_t size)
{
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("search line too long");
    if (blocks_.empty() || used_ + size > blockSizes_.back()) {
        const std::size_t n = std::max(kBlockSize, size);
        blocks_.push_back(std::make_unique<char[]>(n));
        blockSizes_.push_back(n);
        used_ = 0;
    }
    const auto start = static_cast<std::uint32_t>(used_);
    used_ += size;
    return {static_cast<std::uint32_t>(blocks_.size() - 1), start};
}

void SearchResults::append(std::string_view line, std::string_view value)
{
    // A value that ends the line (a title searched by its title) is kept once.
    const bool shared = value.size() <= line.size() && line.substr(line.size() - value.size()) == value;
    const std::size_t size = line.size() + (shared ? 0 : value.size());
    const auto [block, start] = reserve(size);
    char* at = blocks_[block].get() + start;
    if (!line.empty())
        std::memcpy(at, line.data(), line.size());
    if (!shared && !value.empty())
        std::memcpy(at + line.size(), value.data(), value.size());
    const auto lineSize = static_cast<std::uint32_t>(line.size());
    const auto valueSize = static_cast<std::uint32_t>(value.size());
    const std::uint32_t valueStart = shared ? start + lineSize - valueSize : start + lineSize;
    entries_.push_back(Entry{block, start, lineSize, valueStart, valueSize});
}

void SearchResults::publish()
{
    lines_->showUpTo(count());
    values_->showUpTo(count());
}

void SearchResults::clear()
{
    lines_->empty();
    values_->empty();
    entries_.clear();
    entries_.shrink_to_fit();
    blocks_.clear();
    blockSizes_.clear();
    used_ = 0;
}

}  // namespace search
