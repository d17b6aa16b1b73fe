#include "browse/TitleList.h"

#include <limits>
#include <stdexcept>

namespace browse {

void TitleList::Builder::reserve(long long titles, long long bytes)
{
    if (titles > 0)
        ends_.reserve(static_cast<size_t>(titles));
    if (bytes > 0)
        text_.reserve(static_cast<size_t>(bytes));
}

void TitleList::Builder::add(const QString& title)
{
    const QByteArray utf8 = title.toUtf8();
    if (text_.size() + static_cast<size_t>(utf8.size()) > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("The list cannot hold more titles.");
    text_.insert(text_.end(), utf8.begin(), utf8.end());
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void TitleList::assign(Builder&& titles)
{
    beginResetModel();
    titles_ = std::move(titles);
    // Room reserved on a guess and not used is given back.
    if (titles_.text_.capacity() > titles_.text_.size() + titles_.text_.size() / 4)
        titles_.text_.shrink_to_fit();
    if (titles_.ends_.capacity() > titles_.ends_.size() + titles_.ends_.size() / 4)
        titles_.ends_.shrink_to_fit();
    endResetModel();
}

void TitleList::clear() { assign(Builder()); }

QString TitleList::title(int row) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    const std::uint32_t begin = row == 0 ? 0 : titles_.ends_[static_cast<size_t>(row) - 1];
    const std::uint32_t end = titles_.ends_[static_cast<size_t>(row)];
    return QString::fromUtf8(titles_.text_.data() + begin, static_cast<qsizetype>(end - begin));
}

int TitleList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles_.ends_.size());
}

QVariant TitleList::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    return title(index.row());
}

}  // namespace browse
