// The inventory's list of titles: one entry per row of the video table, kept
// as one run of UTF-8 text with where each title ends, so that a million
// titles cost their characters and four bytes each rather than a string each.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <cstdint>
#include <vector>

namespace browse {

class TitleList : public QAbstractListModel {
public:
    // Titles being gathered before they are shown.
    class Builder {
    public:
        // Room for about this many titles taking about this many bytes.
        void reserve(long long titles, long long bytes);
        void add(const QString& title);
        long long size() const { return static_cast<long long>(ends_.size()); }
        long long bytes() const { return static_cast<long long>(text_.size()); }

    private:
        friend class TitleList;
        std::vector<char> text_;
        std::vector<std::uint32_t> ends_;
    };

    explicit TitleList(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // The list becomes the titles gathered, in the order they were added.
    void assign(Builder&& titles);
    void clear();

    QString title(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    Builder titles_;
};

}  // namespace browse
