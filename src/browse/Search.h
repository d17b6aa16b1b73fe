// The search of titles and members: the pick lists the two search windows
// share, the three ways a query matches a field, and the scan that lists
// every matching record of a table in the table's order.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace store {
class Recordset;
}

namespace search {

class SearchResults;

// The refusal of a search, or of an edit, on a table without records.
inline const QString kNoRecordText = QStringLiteral("No current record in database. Pls. add one...");

// Positions in the table pick list.
constexpr int kMembersTable = 0;
constexpr int kVideoTable = 1;

// Positions in the style pick list.
enum Style : short {
    AnyWord = 0,
    ExactPhrase = 1,
    ExactRecordMatch = 2,
};

// "Members Database", "Video Database".
QStringList tableEntries();
// The field entries of the table at this position; none for another position.
QStringList fieldEntries(int tablePosition);
// The field an entry searches ("Contact number" searches Contact); empty
// when the table has no such entry.
QString fieldOfEntry(int tablePosition, int entry);
// "Any Word", "Exact Phrase", "Exact Record Match".
QStringList styleEntries();
// The table searched: "Video Database" or "Members Database".
QString tableName(bool isVideo);

// A query made ready for a scan. Both sides are compared in upper case, by
// Qt's Unicode rules:
// - Exact Record Match: the whole value equals the query;
// - Exact Phrase: the query, spaces and all, occurs in the value;
// - Any Word: the query is cut at every single space, and the value matches
//   when one of the pieces occurs in it; an empty piece (two spaces in a row,
//   or a space at either end) occurs in every value that is not empty.
// A field without a value never matches, nor does any other style.
// A matcher keeps a scratch buffer: use one from one place at a time.
class Matcher {
public:
    Matcher(const QString& query, short style);

    // The field's text in UTF-8; utf8 is nullptr for a field without a value.
    bool matches(const char* utf8, int size) const;
    bool matches(const QString& value) const;

private:
    struct Needle {
        QString text;      // upper case
        std::string utf8;  // the same in UTF-8
    };
    short style_;
    std::vector<Needle> needles_;
    mutable std::string scratch_;
};

// The steps a search takes before its scan, from the query dialog or from
// the results window. Refuses an empty query ("Please enter a query") and a
// table without records ("No current record in database. Pls. add one..."),
// each with the information icon. Otherwise leaves rsSearch on the first
// record of the chosen table and stores the settings of the search. When
// the table is refused, rsSearch and SearchIsVideo already name it. Store
// errors go to the caller.
enum class Prepared { Ready, EmptyQuery, EmptyTable };
Prepared prepareSearch(const QString& query, int tablePosition, int fieldEntry, int style);

// One search: the record set to read (standing on the first row to read) and
// the settings that choose and show the matches.
struct ScanRequest {
    std::shared_ptr<store::Recordset> records;
    bool isVideo = true;
    QString field;
    short style = ExactPhrase;
    QString query;
};

// The search the settings describe.
ScanRequest requestFromSettings();

// How long the scan runs between two turns of the window events, and how
// many rows it reads at a time. The pause the clerk can feel is about the
// slice plus one page.
struct Pacing {
    int sliceMs = 20;
    int pageRows = 2048;
};
Pacing pacing();
void setPacing(const Pacing& p);

enum class ScanEnd {
    Finished,  // every row was read
    Stopped,   // letEventsRun asked to stop
};

// Reads every row of request.records from the current one to the last, in
// the table's order, and appends each match to results: the line
// "Title : <title>" for a title; "Name : <last>, <first>" for a member in
// Exact Record Match and "Name : <first> <last>" in the other styles (a
// missing part is empty); and the value of the searched field. Whenever a
// slice of time has passed, the lines found so far are published to the
// lists and letEventsRun is called; when it answers false the scan ends at
// once and touches neither results nor the record set again. Store errors
// go to the caller, with the lines found so far published.
ScanEnd scan(const ScanRequest& request, SearchResults& results, const std::function<bool()>& letEventsRun);

}  // namespace search
