// The inventory's list of titles: one entry per row of the video table, kept
// as one run of characters with where each title ends, so that a million
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
        // Room for about this many titles of about this length.
        void reserve(long long titles, long long characters);
        void add(const QString& title);
        long long size() const { return static_cast<long long>(ends_.size()); }
        long long characters() const { return static_cast<long long>(chars_.size()); }

    private:
        friend class TitleList;
        std::vector<char16_t> chars_;
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
