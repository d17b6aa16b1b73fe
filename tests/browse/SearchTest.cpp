// The search itself, without its windows: the three styles, the pick lists,
// the lines the scan lists, the numbering past 32767, and a scan that is
// stopped or that sees the table change while it waits.
#include "browse/Search.h"
#include "browse/SearchResults.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "support/Harness.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using search::AnyWord;
using search::ExactPhrase;
using search::ExactRecordMatch;
using search::Matcher;

namespace {

// The matcher's answer for a value given as UTF-8, as the scan gives it,
// checked against the same value given as a text.
bool matches(const QString& query, short style, const QString& value)
{
    const Matcher m(query, style);
    const QByteArray utf8 = value.toUtf8();
    const bool fromText = m.matches(value);
    const bool fromBytes = m.matches(utf8.constData(), static_cast<int>(utf8.size()));
    EXPECT_EQ(fromText, fromBytes) << "query '" << query.toStdString() << "' value '" << value.toStdString() << "'";
    return fromBytes;
}

TEST(SearchMatch, AnyWordFindsEitherWordInAnyLetterCase)
{
    EXPECT_TRUE(matches("star wars", AnyWord, "STAR TREK"));
    EXPECT_TRUE(matches("star wars", AnyWord, "Tag Wars"));
    EXPECT_TRUE(matches("star wars", AnyWord, "Superstars"));  // a piece, not a whole word
    EXPECT_FALSE(matches("star wars", AnyWord, "Stellar War"));
    EXPECT_FALSE(matches("star wars", AnyWord, ""));
}

TEST(SearchMatch, ExactPhraseKeepsTheQueryWhole)
{
    EXPECT_TRUE(matches("star wars", ExactPhrase, "The Star Wars Saga"));
    EXPECT_FALSE(matches("star wars", ExactPhrase, "Star  Wars"));  // two spaces between
    EXPECT_FALSE(matches("star wars", ExactPhrase, "Wars Star"));
    // A query of spaces finds the values with that many spaces in a row.
    EXPECT_TRUE(matches("  ", ExactPhrase, "Star  Wars"));
    EXPECT_FALSE(matches("  ", ExactPhrase, "Star Wars"));
}

TEST(SearchMatch, ExactRecordMatchComparesTheWholeValue)
{
    EXPECT_TRUE(matches("star wars", ExactRecordMatch, "STAR WARS"));
    EXPECT_FALSE(matches("star wars", ExactRecordMatch, "Star Wars 2"));
    EXPECT_FALSE(matches("star wars", ExactRecordMatch, " Star Wars"));
}

TEST(SearchMatch, EmptyPiecesOfAnyWordMatchEveryValueThatIsNotEmpty)
{
    for (const char* query : {"star  wars", " star", "star ", " ", "   "}) {
        EXPECT_TRUE(matches(query, AnyWord, "Zorro")) << query;
        EXPECT_TRUE(matches(query, AnyWord, "É")) << query;
        EXPECT_FALSE(matches(query, AnyWord, "")) << query;
    }
}

TEST(SearchMatch, AFieldWithoutValueNeverMatchesNorDoesAnUnknownStyle)
{
    for (short style : {AnyWord, ExactPhrase, ExactRecordMatch}) {
        EXPECT_FALSE(Matcher("  ", style).matches(nullptr, 0));
        EXPECT_FALSE(Matcher("a", style).matches(QString()));
    }
    for (short style : {-1, 3, 99})
        EXPECT_FALSE(matches("Zorro", style, "Zorro"));
}

TEST(SearchMatch, LetterCaseFollowsTheUnicodeRules)
{
    EXPECT_TRUE(matches("café", ExactRecordMatch, "CAFÉ"));
    EXPECT_TRUE(matches("москва", ExactPhrase, "Ночь в МОСКВА"));
    EXPECT_TRUE(matches("σοφία", ExactRecordMatch, "ΣΟΦΊΑ"));
    // Upper case of ß is SS, on both sides.
    EXPECT_TRUE(matches("straße", ExactRecordMatch, "STRASSE"));
    EXPECT_TRUE(matches("STRASSE", ExactRecordMatch, "Straße"));
    // A letter outside plain ASCII whose upper case is plain ASCII: the long
    // s finds an s in a value of plain letters.
    EXPECT_TRUE(matches("ſ", ExactPhrase, "Casablanca"));
    EXPECT_FALSE(matches("é", ExactPhrase, "Cafe"));
}

TEST(SearchLists, FieldEntriesAndTheFieldsTheySearch)
{
    EXPECT_EQ(search::tableEntries(), (QStringList{"Members Database", "Video Database"}));
    EXPECT_EQ(search::fieldEntries(search::kMembersTable),
              (QStringList{"Last Name", "First Name", "Address", "Contact number"}));
    EXPECT_EQ(search::fieldEntries(search::kVideoTable), (QStringList{"Title", "Main Cast", "Second Cast", "Category"}));
    EXPECT_TRUE(search::fieldEntries(-1).isEmpty());
    EXPECT_EQ(search::styleEntries(), (QStringList{"Any Word", "Exact Phrase", "Exact Record Match"}));

    EXPECT_EQ(search::fieldOfEntry(search::kMembersTable, 3), "Contact");
    EXPECT_EQ(search::fieldOfEntry(search::kMembersTable, 0), "Last Name");
    EXPECT_EQ(search::fieldOfEntry(search::kVideoTable, 3), "Category");
    EXPECT_EQ(search::fieldOfEntry(search::kVideoTable, 4), "");
    EXPECT_EQ(search::fieldOfEntry(-1, 0), "");
}

class SearchScanTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        QuorvaneTest::SetUp();
        freshDatabase();
    }
    void TearDown() override
    {
        search::setPacing(search::Pacing{});
        QuorvaneTest::TearDown();
    }

    static void addTitle(const QString& code, const QVariant& title)
    {
        auto& rs = *modQuorvane::rsVideo;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Video Code"), code);
        rs.SetValue(QStringLiteral("Title"), title);
        rs.Update();
    }

    static void addMember(const QString& id, const QVariant& last, const QVariant& first, const QString& contact)
    {
        auto& rs = *modQuorvane::rsMembers;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Member ID"), id);
        rs.SetValue(QStringLiteral("Last Name"), last);
        rs.SetValue(QStringLiteral("First Name"), first);
        rs.SetValue(QStringLiteral("Contact"), contact);
        rs.Update();
    }

    static search::ScanRequest request(bool video, const QString& field, short style, const QString& query)
    {
        auto rs = modQuorvane::dbMain->OpenRecordset(video ? schema::kVideo : schema::kMembers);
        rs->MoveFirst();
        return search::ScanRequest{rs, video, field, style, query};
    }

    // Lines and values as the two lists show them.
    static std::pair<QStringList, QStringList> listed(const search::SearchResults& r)
    {
        QStringList lines, values;
        for (int i = 0; i < r.lines()->rowCount(); ++i) {
            lines << r.lines()->index(i, 0).data().toString();
            values << r.values()->index(i, 0).data().toString();
        }
        return {lines, values};
    }

    static std::pair<QStringList, QStringList> run(const search::ScanRequest& req)
    {
        search::SearchResults results;
        EXPECT_EQ(search::scan(req, results, [] { return true; }), search::ScanEnd::Finished);
        return listed(results);
    }
};

TEST_F(SearchScanTest, TitlesAreListedOnceEachNumberedInTableOrder)
{
    addTitle("V1", "Star Trek");
    addTitle("V2", "Casablanca");
    addTitle("V3", "Star Wars");
    addTitle("V4", QVariant());
    addTitle("V5", "The Wars of Roses");
    const auto [lines, values] = run(request(true, "Title", AnyWord, "star wars"));
    EXPECT_EQ(lines, (QStringList{"1. Title : Star Trek", "2. Title : Star Wars", "3. Title : The Wars of Roses"}));
    EXPECT_EQ(values, (QStringList{"Star Trek", "Star Wars", "The Wars of Roses"}));

    // Another field: the line still names the title, the value is the field's.
    auto& rs = *modQuorvane::rsVideo;
    rs.MoveFirst();
    rs.Edit();
    rs.SetValue(QStringLiteral("Category"), QStringLiteral("Sci-Fi"));
    rs.Update();
    const auto [catLines, catValues] = run(request(true, "Category", ExactRecordMatch, "SCI-FI"));
    EXPECT_EQ(catLines, (QStringList{"1. Title : Star Trek"}));
    EXPECT_EQ(catValues, (QStringList{"Sci-Fi"}));
}

TEST_F(SearchScanTest, MemberLinesDependOnTheStyle)
{
    addMember("M1", "Cruz", "Ana", "555-1");
    addMember("M2", "Reyes", QVariant(), "555-2");
    addMember("M3", QVariant(), "Ben", "777");
    EXPECT_EQ(run(request(false, "Contact", ExactPhrase, "555")).first,
              (QStringList{"1. Name : Ana Cruz", "2. Name :  Reyes"}));
    EXPECT_EQ(run(request(false, "Contact", ExactRecordMatch, "555-1")).first, (QStringList{"1. Name : Cruz, Ana"}));
    EXPECT_EQ(run(request(false, "Contact", ExactRecordMatch, "777")).first, (QStringList{"1. Name : , Ben"}));
    EXPECT_EQ(run(request(false, "Contact", AnyWord, "777 x")).second, (QStringList{"777"}));
}

TEST_F(SearchScanTest, MoreThan32767MatchesAreAllListedAndNumberedOn)
{
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") "
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 33000) "
                 "SELECT 'V' || i, 'Title ' || i FROM n");
    }
    search::SearchResults results;
    ASSERT_EQ(search::scan(request(true, "Title", AnyWord, "title"), results, [] { return true; }),
              search::ScanEnd::Finished);
    ASSERT_EQ(results.lines()->rowCount(), 33000);
    EXPECT_EQ(results.line(32766), "32767. Title : Title 32767");
    EXPECT_EQ(results.line(32767), "32768. Title : Title 32768");
    EXPECT_EQ(results.lines()->index(32999, 0).data().toString(), "33000. Title : Title 33000");
    EXPECT_EQ(results.values()->index(32999, 0).data().toString(), "Title 33000");
}

TEST_F(SearchScanTest, AStoppedScanListsNothingMoreAndShowsWhatItFound)
{
    for (int i = 1; i <= 6; ++i)
        addTitle(QStringLiteral("V%1").arg(i), QStringLiteral("Title %1").arg(i));
    search::setPacing(search::Pacing{0, 2});
    search::SearchResults results;
    int turns = 0;
    const auto end = search::scan(request(true, "Title", AnyWord, "title"), results, [&] {
        // The lines found so far are shown before the events run.
        EXPECT_EQ(results.lines()->rowCount(), results.count());
        return ++turns < 2;
    });
    EXPECT_EQ(end, search::ScanEnd::Stopped);
    EXPECT_EQ(turns, 2);
    EXPECT_EQ(listed(results).first,
              (QStringList{"1. Title : Title 1", "2. Title : Title 2", "3. Title : Title 3", "4. Title : Title 4"}));
}

TEST_F(SearchScanTest, RowsAddedOrDeletedWhileTheScanWaitsAreSeenInTableOrder)
{
    for (int i = 1; i <= 4; ++i)
        addTitle(QStringLiteral("V%1").arg(i), QStringLiteral("Title %1").arg(i));
    search::setPacing(search::Pacing{0, 1});
    search::SearchResults results;
    bool changed = false;
    const auto req = request(true, "Title", AnyWord, "title");
    search::scan(req, results, [&] {
        if (!changed) {
            changed = true;
            auto& rs = *modQuorvane::rsVideo;
            rs.MoveFirst();
            rs.MoveNext();
            rs.MoveNext();
            rs.Delete();  // Title 3, not read yet
            addTitle("V5", "Title 5");
        }
        return true;
    });
    EXPECT_EQ(listed(results).second, (QStringList{"Title 1", "Title 2", "Title 4", "Title 5"}));
}

TEST_F(SearchScanTest, TheScanStartsAtTheCurrentRecord)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(QStringLiteral("V%1").arg(i), QStringLiteral("Title %1").arg(i));
    auto req = request(true, "Title", AnyWord, "title");
    req.records->MoveNext();
    EXPECT_EQ(run(req).second, (QStringList{"Title 2", "Title 3"}));
}

TEST_F(SearchScanTest, ResultsKeepEachLineAndClearToEmptyLists)
{
    search::SearchResults results;
    results.append("Title : Abc", "Abc");
    results.append("Name : Ñandú Cruz", "555");
    EXPECT_EQ(results.count(), 2);
    EXPECT_EQ(results.lines()->rowCount(), 0);  // not shown until published
    results.publish();
    EXPECT_EQ(results.values()->rowCount(), 2);
    EXPECT_EQ(results.line(1), "2. Name : Ñandú Cruz");
    EXPECT_EQ(results.value(0), "Abc");
    EXPECT_EQ(results.value(1), "555");
    EXPECT_EQ(results.value(2), "");
    results.clear();
    EXPECT_EQ(results.count(), 0);
    EXPECT_EQ(results.lines()->rowCount(), 0);
    results.append(std::string(300000, 'x'), "y");  // longer than a block
    results.publish();
    EXPECT_EQ(results.line(0).size(), 300003);
    EXPECT_EQ(results.value(0), "y");
}

}  // namespace
