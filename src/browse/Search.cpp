#include "browse/Search.h"

#include "browse/SearchResults.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"

#include <QElapsedTimer>

#include <algorithm>
#include <limits>
#include <string_view>

namespace search {

using namespace schema::field;

namespace {

const QString kVideoName = QStringLiteral("Video Database");
const QString kMembersName = QStringLiteral("Members Database");

Pacing g_pacing;

bool matchOne(short style, std::string_view value, std::string_view needle)
{
    if (style == ExactRecordMatch)
        return value == needle;
    if (needle.empty())
        return !value.empty();
    return value.find(needle) != std::string_view::npos;
}

bool matchOne(short style, const QString& value, const QString& needle)
{
    if (style == ExactRecordMatch)
        return value == needle;
    if (needle.isEmpty())
        return !value.isEmpty();
    return value.contains(needle);
}

std::string_view view(const store::Recordset::FieldText& t)
{
    return t.isNull() ? std::string_view() : std::string_view(t.utf8, static_cast<size_t>(t.size));
}

}  // namespace

QStringList tableEntries() { return {kMembersName, kVideoName}; }

QStringList fieldEntries(int tablePosition)
{
    if (tablePosition == kMembersTable)
        return {kLastName, kFirstName, QStringLiteral("Address"), QStringLiteral("Contact number")};
    if (tablePosition == kVideoTable)
        return {kTitle, QStringLiteral("Main Cast"), QStringLiteral("Second Cast"), QStringLiteral("Category")};
    return {};
}

QString fieldOfEntry(int tablePosition, int entry)
{
    const QStringList entries = fieldEntries(tablePosition);
    if (entry < 0 || entry >= entries.size())
        return QString();
    // The member's contact number is kept in the field Contact.
    if (tablePosition == kMembersTable && entry == 3)
        return QStringLiteral("Contact");
    return entries.at(entry);
}

QStringList styleEntries()
{
    return {QStringLiteral("Any Word"), QStringLiteral("Exact Phrase"), QStringLiteral("Exact Record Match")};
}

QString tableName(bool isVideo) { return isVideo ? kVideoName : kMembersName; }

Matcher::Matcher(const QString& query, short style) : style_(style)
{
    if (style != AnyWord && style != ExactPhrase && style != ExactRecordMatch)
        return;  // matches nothing
    const QString upper = query.toUpper();
    const QStringList pieces = style == AnyWord ? upper.split(QLatin1Char(' ')) : QStringList{upper};
    for (const QString& piece : pieces)
        needles_.push_back({piece, piece.toUtf8().toStdString()});
}

bool Matcher::matches(const char* utf8, int size) const
{
    if (!utf8 || needles_.empty())
        return false;
    // A value of plain ASCII is put in upper case letter by letter, which is
    // what the Unicode rules do with these characters, and compared in UTF-8.
    scratch_.resize(static_cast<size_t>(size));
    unsigned char seen = 0;
    for (int i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        seen |= c;
        scratch_[static_cast<size_t>(i)] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : static_cast<char>(c);
    }
    if (seen & 0x80)
        return matches(QString::fromUtf8(utf8, size));
    const std::string_view value(scratch_);
    for (const Needle& n : needles_)
        if (matchOne(style_, value, n.utf8))
            return true;
    return false;
}

bool Matcher::matches(const QString& value) const
{
    if (value.isNull() || needles_.empty())
        return false;
    const QString upper = value.toUpper();
    for (const Needle& n : needles_)
        if (matchOne(style_, upper, n.text))
            return true;
    return false;
}

Prepared prepareSearch(const QString& query, int tablePosition, int fieldEntry, int style)
{
    using namespace modQuorvane;
    if (query.isEmpty()) {
        dialogs::message(QStringLiteral("Please enter a query"), dialogs::Icon::Information);
        return Prepared::EmptyQuery;
    }
    SearchIsVideo = tablePosition != kMembersTable;
    rsSearch = MainDatabase().OpenRecordset(tableName(SearchIsVideo));
    if (rsSearch->RecordCount() == 0) {
        dialogs::message(kNoRecordText, dialogs::Icon::Information);
        return Prepared::EmptyTable;
    }
    rsSearch->MoveFirst();
    SearchField = fieldOfEntry(SearchIsVideo ? kVideoTable : kMembersTable, fieldEntry);
    SearchFieldIndex = static_cast<short>(fieldEntry);
    SearchStyle = static_cast<short>(style);
    SearchQuery = query;
    return Prepared::Ready;
}

ScanRequest requestFromSettings()
{
    using namespace modQuorvane;
    return ScanRequest{rsSearch, SearchIsVideo, SearchField, SearchStyle, SearchQuery};
}

Pacing pacing() { return g_pacing; }
void setPacing(const Pacing& p) { g_pacing = p; }

ScanEnd scan(const ScanRequest& request, SearchResults& results, const std::function<bool()>& letEventsRun)
{
    // The record set stays alive for the whole scan, even when a new search
    // replaces the shared one meanwhile.
    const std::shared_ptr<store::Recordset> records = request.records;
    if (!records)
        throw store::StoreError(store::ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
    const Matcher matcher(request.query, request.style);
    const bool video = request.isVideo;
    const bool lastNameFirst = request.style == ExactRecordMatch;

    // The searched field, then the parts of the line.
    std::vector<int> positions{records->FieldPosition(request.field)};
    if (video) {
        positions.push_back(records->FieldPosition(kTitle));
    } else {
        positions.push_back(records->FieldPosition(kLastName));
        positions.push_back(records->FieldPosition(kFirstName));
    }

    std::int64_t after = std::numeric_limits<std::int64_t>::min();
    if (const std::int64_t current = records->Bookmark(); current != 0 && current != after)
        after = current - 1;

    std::string line;
    const auto visit = [&](std::int64_t, const store::Recordset::FieldText* t) {
        if (!matcher.matches(t[0].utf8, t[0].size))
            return;
        if (video) {
            line.assign("Title : ");
            line.append(view(t[1]));
        } else {
            line.assign("Name : ");
            const std::string_view last = view(t[1]);
            const std::string_view first = view(t[2]);
            line.append(lastNameFirst ? last : first);
            line.append(lastNameFirst ? ", " : " ");
            line.append(lastNameFirst ? first : last);
        }
        results.append(line, view(t[0]));
    };

    const Pacing pace = g_pacing;
    QElapsedTimer slice;
    slice.start();
    try {
        for (;;) {
            const std::int64_t last = records->ReadTextPage(after, std::max(1, pace.pageRows), positions, visit);
            if (last == after)
                break;
            after = last;
            if (pace.sliceMs <= 0 || slice.hasExpired(pace.sliceMs)) {
                results.publish();
                if (!letEventsRun())
                    return ScanEnd::Stopped;
                slice.restart();
            }
        }
    } catch (...) {
        results.publish();
        throw;
    }
    results.publish();
    return ScanEnd::Finished;
}

}  // namespace search
