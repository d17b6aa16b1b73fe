// The code registry: a code is found only by exact equality, appended once,
// and given back once its row is gone; failures are reported and answer
// False without leaving a half-written row.
#include "data/CodeRegistry.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "support/Harness.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using modValidate::RegisterCode;

namespace {

class CodeRegistryTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        QuorvaneTest::SetUp();
        freshDatabase();
    }

    static std::vector<std::pair<QString, QString>> rows(const QString& table)
    {
        std::vector<std::pair<QString, QString>> out;
        auto rs = modQuorvane::dbMain->OpenRecordset(table);
        if (rs->RecordCount() == 0)
            return out;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            out.emplace_back(rs->Text(0), rs->Text(1));
        return out;
    }

    static long long count(const QString& table) { return modQuorvane::dbMain->OpenRecordset(table)->RecordCount(); }
};

TEST_F(CodeRegistryTest, NewCodeIsAppendedOnceThenKnown)
{
    EXPECT_FALSE(RegisterCode("V001", "Alien", schema::kVideoCode));
    EXPECT_TRUE(RegisterCode("V001", "Another name", schema::kVideoCode));
    EXPECT_FALSE(RegisterCode("V002", "Brazil", schema::kVideoCode));
    const auto r = rows(schema::kVideoCode);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], std::make_pair(QString("V001"), QString("Alien")));  // the first save's name stays
    EXPECT_EQ(r[1], std::make_pair(QString("V002"), QString("Brazil")));
    EXPECT_TRUE(rows(schema::kMemberCode).empty());  // each table keeps its own codes
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(CodeRegistryTest, LetterCaseAndBlanksMakeDifferentCodes)
{
    EXPECT_FALSE(RegisterCode("abc", "one", schema::kMemberCode));
    EXPECT_FALSE(RegisterCode("ABC", "two", schema::kMemberCode));
    EXPECT_FALSE(RegisterCode("abc ", "three", schema::kMemberCode));
    EXPECT_FALSE(RegisterCode(" abc", "four", schema::kMemberCode));
    EXPECT_TRUE(RegisterCode("abc", "five", schema::kMemberCode));
    EXPECT_EQ(rows(schema::kMemberCode).size(), 4u);
}

TEST_F(CodeRegistryTest, CodeOnTheLastRowOfALongTableIsFound)
{
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("INSERT INTO \"Video Code Database\" WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
                 "SELECT i + 1 FROM n WHERE i < 49999) SELECT 'C' || i, 'n' FROM n");
    }
    EXPECT_TRUE(RegisterCode("C49999", "n", schema::kVideoCode));
    EXPECT_TRUE(RegisterCode("C0", "n", schema::kVideoCode));
    EXPECT_FALSE(RegisterCode("C50000", "n", schema::kVideoCode));
    EXPECT_TRUE(RegisterCode("C50000", "n", schema::kVideoCode));
    EXPECT_EQ(count(schema::kVideoCode), 50001);
}

TEST_F(CodeRegistryTest, CodeIsNewAgainOnceItsRowIsDeleted)
{
    RegisterCode("M1", "Smith John", schema::kMemberCode);
    RegisterCode("M2", "Doe Jane", schema::kMemberCode);
    auto rs = modQuorvane::dbMain->OpenRecordset(schema::kMemberCode);
    ASSERT_TRUE(rs->FindFirst("Member ID", "M1"));
    rs->Delete();
    EXPECT_FALSE(RegisterCode("M1", "Smith Johnny", schema::kMemberCode));
    EXPECT_TRUE(RegisterCode("M1", "x", schema::kMemberCode));
    const auto r = rows(schema::kMemberCode);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1], std::make_pair(QString("M1"), QString("Smith Johnny")));
}

TEST_F(CodeRegistryTest, FailuresAreReportedAndAnswerFalse)
{
    // The table refuses an empty name: the report shows the engine's words and
    // the begun row is discarded.
    EXPECT_FALSE(RegisterCode("V9", "", schema::kVideoCode));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : ")) << dialogs_.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs_.messages[0].text.contains("zero-length"));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_TRUE(rows(schema::kVideoCode).empty());
    EXPECT_FALSE(RegisterCode("V9", "Fine", schema::kVideoCode));  // nothing left pending in the way

    dialogs_.clear();
    EXPECT_FALSE(RegisterCode("V9", "n", "No Such Table"));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));

    dialogs_.clear();
    modQuorvane::dbMain->Close();
    EXPECT_FALSE(RegisterCode("V10", "n", schema::kVideoCode));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
}

TEST_F(CodeRegistryTest, WithdrawRemovesOnlyTheRowThatWasAppended)
{
    std::int64_t first = 0, second = 0, known = -1;
    RegisterCode("A", "a", schema::kVideoCode, first);
    RegisterCode("B", "b", schema::kVideoCode, second);
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_TRUE(RegisterCode("A", "again", schema::kVideoCode, known));
    EXPECT_EQ(known, 0);

    EXPECT_TRUE(modValidate::WithdrawCode(schema::kVideoCode, first, "B"));  // the row holds another code
    EXPECT_EQ(rows(schema::kVideoCode).size(), 2u);
    EXPECT_TRUE(modValidate::WithdrawCode(schema::kVideoCode, first, "A"));
    const auto r = rows(schema::kVideoCode);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].first, "B");
    EXPECT_TRUE(modValidate::WithdrawCode(schema::kVideoCode, first, "A"));  // already gone
    EXPECT_EQ(rows(schema::kVideoCode).size(), 1u);
}

}  // namespace
