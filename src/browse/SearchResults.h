// The lines a search has found, kept compactly (UTF-8, packed in large
// blocks), and the two lists that show them: the numbered result lines and
// the matched values, line for line. The lists read only the lines on
// screen, so a million matches cost a few dozen bytes each and no widgets.
#pragma once

#include <QAbstractListModel>
#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace search {

class SearchResults : public QObject {
    Q_OBJECT
public:
    explicit SearchResults(QObject* parent = nullptr);
    ~SearchResults() override;

    // "1. Title : ...", numbered from 1 in the order found.
    QAbstractListModel* lines() const;
    // The matched field value of each line.
    QAbstractListModel* values() const;

    // Lines kept, whether or not the lists show them yet.
    qsizetype count() const { return static_cast<qsizetype>(entries_.size()); }
    QString line(qsizetype i) const;
    QString value(qsizetype i) const;

    // Keeps one more line (without its number) and its value, both UTF-8.
    // The lists show it at the next publish().
    void append(std::string_view line, std::string_view value);
    // The lists take up every line kept since the last publish.
    void publish();
    // Empties both lists.
    void clear();

private:
    class List;
    struct Entry {
        std::uint32_t block;
        std::uint32_t lineStart;
        std::uint32_t lineSize;
        std::uint32_t valueStart;
        std::uint32_t valueSize;
    };
    std::string_view text(std::uint32_t block, std::uint32_t start, std::uint32_t size) const;
    // Room for `size` bytes in a block; returns the block and the start.
    std::pair<std::uint32_t, std::uint32_t> reserve(std::size_t size);

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::size_t> blockSizes_;
    std::size_t used_ = 0;  // bytes used in the last block
    std::deque<Entry> entries_;
    List* lines_;
    List* values_;
};

}  // namespace search
