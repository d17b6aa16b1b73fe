// The record-set store over SQLite: order, moves, edits, the rules of the
// fields, and what another connection sees.
#include "platform/Store.h"
#include "support/Harness.h"

#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace store;

namespace {

TableDef videoTable()
{
    return TableDef{QStringLiteral("Video Database"),
                    {FieldDef{QStringLiteral("Video Code"), dbText, 30, 0},
                     FieldDef{QStringLiteral("Title"), dbText, 30, 0},
                     FieldDef{QStringLiteral("Tapes In"), dbLong, 0, dbVariableField},
                     FieldDef{QStringLiteral("Days"), dbInteger, 0, dbVariableField},
                     FieldDef{QStringLiteral("Rent Date"), dbDate, 0, dbVariableField}},
                    {IndexDef{QStringLiteral("VideoCodeIDX"), {QStringLiteral("Video Code")}, true}}};
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("t.mdb"));
        db = Database::CreateDatabase(path);
        db->AppendTableDef(videoTable());
        rs = db->OpenRecordset(QStringLiteral("Video Database"));
    }

    void add(const QString& code, const QString& title, qlonglong tapes = 1)
    {
        rs->AddNew();
        rs->SetValue(QStringLiteral("Video Code"), code);
        rs->SetValue(QStringLiteral("Title"), title);
        rs->SetValue(QStringLiteral("Tapes In"), tapes);
        rs->Update();
    }

    void expectRefused(const std::function<void()>& f, ErrorKind kind, const char* containing)
    {
        try {
            f();
            ADD_FAILURE() << "expected a refusal containing " << containing;
        } catch (const StoreError& e) {
            EXPECT_EQ(e.kind(), kind) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(containing)))
                << e.description().toStdString();
        }
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<Database> db;
    std::shared_ptr<Recordset> rs;
};

TEST_F(StoreTest, EmptyRecordSetHasNoCurrentRecord)
{
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->Eof());
    EXPECT_TRUE(rs->Bof());
    expectRefused([&] { rs->MoveFirst(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->MoveLast(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->MoveNext(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->MovePrevious(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->Value(0); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->Edit(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->Delete(); }, ErrorKind::NoCurrentRecord, "No current record.");
}

TEST_F(StoreTest, MovesWalkRowidOrderToEofAndBof)
{
    add("C", "third added first");
    add("A", "second");
    add("B", "third");
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(0), "C");
    rs->MoveNext();
    EXPECT_EQ(rs->Text(0), "A");
    rs->MoveNext();
    EXPECT_EQ(rs->Text(0), "B");
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_FALSE(rs->Bof());
    expectRefused([&] { rs->MoveNext(); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->Value(0); }, ErrorKind::NoCurrentRecord, "No current record.");
    rs->MovePrevious();  // from EOF back onto the last row
    EXPECT_EQ(rs->Text(0), "B");
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    expectRefused([&] { rs->MovePrevious(); }, ErrorKind::NoCurrentRecord, "No current record.");
    rs->MoveNext();  // from BOF onto the first row
    EXPECT_EQ(rs->Text(0), "C");
    rs->MoveLast();
    EXPECT_EQ(rs->Text(0), "B");
}

TEST_F(StoreTest, NewRecordSetStandsOnFirstRow)
{
    add("X1", "one");
    add("X2", "two");
    auto other = db->OpenRecordset(QStringLiteral("Video Database"));
    EXPECT_FALSE(other->Eof());
    EXPECT_EQ(other->Text(QStringLiteral("video code")), "X1");  // names regardless of case
    EXPECT_EQ(other->Name(), "Video Database");
}

TEST_F(StoreTest, AddNewUpdateLeavesCurrentRowAndCountsExactly)
{
    add("A", "a");
    add("B", "b");
    rs->MoveFirst();
    add("C", "c");
    EXPECT_EQ(rs->Text(0), "A");
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveLast();
    EXPECT_EQ(rs->Text(0), "C");
    EXPECT_EQ(rs->Value(QStringLiteral("Tapes In")).toLongLong(), 1);
}

TEST_F(StoreTest, EditRewritesCurrentRowOnly)
{
    add("A", "a");
    add("B", "b");
    rs->MoveLast();
    rs->Edit();
    EXPECT_EQ(rs->Text(QStringLiteral("Title")), "b");  // the pending row reads back
    rs->SetValue(QStringLiteral("Title"), QStringLiteral("bee"));
    rs->Update();
    EXPECT_EQ(rs->Text(QStringLiteral("Title")), "bee");
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(QStringLiteral("Title")), "a");
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(StoreTest, DeleteLeavesNoCurrentRowUntilNextMove)
{
    add("A", "a");
    add("B", "b");
    add("C", "c");
    rs->MoveFirst();
    rs->MoveNext();
    rs->Delete();
    expectRefused([&] { rs->Value(0); }, ErrorKind::RecordDeleted, "Record is deleted.");
    EXPECT_FALSE(rs->Eof());
    rs->MoveNext();
    EXPECT_EQ(rs->Text(0), "C");
    rs->MovePrevious();
    EXPECT_EQ(rs->Text(0), "A");
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(StoreTest, FieldsByPositionCarryTypeSizeAndMask)
{
    ASSERT_EQ(rs->FieldCount(), 5);
    EXPECT_EQ(rs->Field(0).name, "Video Code");
    EXPECT_EQ(rs->Field(0).type, dbText);
    EXPECT_EQ(rs->Field(0).size, 30);
    EXPECT_EQ(rs->Field(2).type, dbLong);
    EXPECT_EQ(rs->Field(2).attributes, 34);
    EXPECT_EQ(rs->Field(3).type, dbInteger);
    EXPECT_EQ(rs->Field(4).type, dbDate);
    EXPECT_EQ(rs->Field(4).attributes, 34);
    expectRefused([&] { rs->Field(5); }, ErrorKind::ItemNotFound, "Item not found");
    expectRefused([&] { rs->Field(QStringLiteral("Nope")); }, ErrorKind::ItemNotFound, "Item not found");
}

TEST_F(StoreTest, RefusesWhatTheFieldsCannotHold)
{
    add("A", "a");
    const auto refusedAdd = [&](const QString& code, const QVariant& title, const QVariant& tapes,
                                const char* containing) {
        rs->AddNew();
        rs->SetValue(0, code);
        rs->SetValue(1, title);
        rs->SetValue(2, tapes);
        expectRefused([&] { rs->Update(); }, ErrorKind::Validation, containing);
        EXPECT_FALSE(rs->EditPending());
    };
    refusedAdd("B", QString(""), 1, "zero-length");
    refusedAdd("B", QString(31, QLatin1Char('x')), 1, "at most 30 characters");
    // A NUL hides what follows it from the file's own rules, first or not.
    refusedAdd("B", QString::fromUtf16(u"\0ab", 3), 1, "NUL");
    refusedAdd("B", QString::fromUtf16(u"ab\0cd", 5), 1, "NUL");
    refusedAdd(QString::fromUtf16(u"B\0", 2), QStringLiteral("ok"), 1, "NUL");
    refusedAdd("B", QStringLiteral("ok"), qlonglong(1) << 32, "Numeric field overflow");
    refusedAdd("A", QStringLiteral("dup"), 1, "primary key");
    rs->AddNew();
    rs->SetValue(1, QStringLiteral("no key"));
    expectRefused([&] { rs->Update(); }, ErrorKind::Validation, "Null");
    rs->AddNew();
    rs->SetValue(0, QStringLiteral("D"));
    rs->SetValue(3, 40000);
    expectRefused([&] { rs->Update(); }, ErrorKind::Validation, "-32768 to 32767");
    rs->AddNew();
    expectRefused([&] { rs->SetValue(2, QStringLiteral("abc")); }, ErrorKind::Validation, "conversion");
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 1);
}

TEST_F(StoreTest, ThirtyCharactersFitExactly)
{
    add(QString(30, QLatin1Char('c')), QString(30, QChar(0x00e9)));  // accented letters count once
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(1).size(), 30);
}

TEST_F(StoreTest, ThirtyCharactersBeyondTheBasicPlaneFitAndThirtyOneDoNot)
{
    const QString film = QString::fromUtf8("\xF0\x9F\x8E\xAC");
    add(QStringLiteral("E1"), film.repeated(30));
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(1), film.repeated(30));
    expectRefused([&] { add(QStringLiteral("E2"), film.repeated(31)); }, ErrorKind::Validation, "at most 30");
}

TEST_F(StoreTest, DatesAndNumbersAreStoredPlainly)
{
    rs->AddNew();
    rs->SetValue(0, QStringLiteral("D1"));
    rs->SetValue(4, QDate(2026, 12, 7));
    rs->SetValue(3, QStringLiteral(" 12 "));
    rs->Update();
    rs->MoveFirst();
    EXPECT_EQ(rs->Value(4).toDate(), QDate(2026, 12, 7));
    // Another connection reads the stored forms as the sqlite3 shell would.
    auto other = Database::OpenDatabase(path);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    EXPECT_EQ(ors->Text(4), "2026-12-07");
    EXPECT_EQ(ors->Value(3).typeId(), QMetaType::LongLong);
    EXPECT_EQ(ors->Value(3).toLongLong(), 12);
}

TEST_F(StoreTest, FindFirstIsExactAndTakesTheFirstInNaturalOrder)
{
    add("K3", "Same");
    add("K1", "same");
    add("K2", "Same");
    rs->MoveLast();
    EXPECT_TRUE(rs->FindFirst(QStringLiteral("Title"), QStringLiteral("Same")));
    EXPECT_EQ(rs->Text(0), "K3");
    EXPECT_TRUE(rs->FindFirst(QStringLiteral("Title"), QStringLiteral("same")));
    EXPECT_EQ(rs->Text(0), "K1");
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("Title"), QStringLiteral("Same ")));
    EXPECT_EQ(rs->Text(0), "K1");  // no match leaves the position alone
}

TEST_F(StoreTest, FindFirstOnSeveralFieldsNeedsEveryOneToMatch)
{
    add("K1", "Heat", 1);
    add("K2", "Heat", 2);
    add("K3", "Heat ", 2);
    add("K4", "Heat", 2);
    rs->AddNew();
    rs->SetValue(QStringLiteral("Video Code"), QStringLiteral("K5"));  // no title
    rs->Update();
    rs->MoveFirst();
    EXPECT_TRUE(rs->FindFirst({{QStringLiteral("Tapes In"), QStringLiteral("2")},
                               {QStringLiteral("title"), QStringLiteral("Heat")}}));
    EXPECT_EQ(rs->Text(0), "K2");  // the first of K2 and K4 in natural order
    EXPECT_FALSE(rs->FindFirst({{QStringLiteral("Video Code"), QStringLiteral("K1")},
                                {QStringLiteral("Title"), QStringLiteral("heat")}}));
    EXPECT_EQ(rs->Text(0), "K2");
    // A field without a value matches nothing, not even the empty text.
    EXPECT_FALSE(rs->FindFirst({{QStringLiteral("Video Code"), QStringLiteral("K5")},
                                {QStringLiteral("Title"), QString()}}));
    expectRefused([&] { rs->FindFirst({{QStringLiteral("Shelf"), QStringLiteral("x")}}); },
                  ErrorKind::ItemNotFound, "Item not found");
}

TEST_F(StoreTest, TransactionJoinsTheWritesOfEveryRecordSetAndRollsBackWhole)
{
    db->AppendTableDef(TableDef{QStringLiteral("Log"), {FieldDef{QStringLiteral("Entry"), dbText, 30, 0}}, {}});
    auto log = db->OpenRecordset(QStringLiteral("Log"));
    add("K1", "Heat", 1);
    auto other = Database::OpenDatabase(path);

    db->BeginTrans();
    EXPECT_TRUE(db->InTransaction());
    log->AddNew();
    log->SetValue(0, QStringLiteral("rented K1"));
    log->Update();
    rs->MoveFirst();
    rs->Edit();
    rs->SetValue(QStringLiteral("Tapes In"), 0);
    rs->Update();
    // Nothing is lasting yet: the other connection sees the file as before.
    EXPECT_EQ(other->OpenRecordset(QStringLiteral("Log"))->RecordCount(), 0);
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(log->RecordCount(), 0);
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(QStringLiteral("Tapes In")), "1");

    db->BeginTrans();
    log->AddNew();
    log->SetValue(0, QStringLiteral("rented K1"));
    log->Update();
    rs->Edit();
    rs->SetValue(QStringLiteral("Tapes In"), 0);
    rs->Update();
    db->CommitTrans();
    EXPECT_EQ(other->OpenRecordset(QStringLiteral("Log"))->RecordCount(), 1);
    EXPECT_EQ(other->OpenRecordset(QStringLiteral("Video Database"))->Text(QStringLiteral("Tapes In")), "0");

    expectRefused([&] { db->CommitTrans(); }, ErrorKind::Engine, "without first beginning");
    expectRefused([&] { db->Rollback(); }, ErrorKind::Engine, "without first beginning");
}

TEST_F(StoreTest, AFailedWriteInsideATransactionLeavesItWholeForTheRollback)
{
    add("K1", "Heat", 1);
    {
        Transaction tx(*db);
        add("K2", "Alien", 1);
        // The unique code refuses this row; the row before it is still pending.
        expectRefused([&] { add("K1", "Again", 1); }, ErrorKind::Validation, "primary key");
        EXPECT_TRUE(db->InTransaction());
        // Leaving the scope without Commit undoes K2 as well.
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("Video Code"), QStringLiteral("K2")));
}

TEST_F(StoreTest, ATransactionWaitsForAnotherWriterAndThenHoldsTheFile)
{
    auto other = Database::OpenDatabase(path);
    db->BeginTrans();
    add("K1", "Heat", 1);
    // The other connection cannot begin while this one holds the write lock.
    try {
        other->BeginTrans();
        ADD_FAILURE() << "the second transaction began while the first held the file";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Busy);
    }
    db->CommitTrans();
    other->BeginTrans();
    other->OpenRecordset(QStringLiteral("Video Database"))->Delete();
    other->CommitTrans();
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(StoreTest, PagesFollowNaturalOrderAndHoldNoLockBetweenReads)
{
    for (int i = 1; i <= 5; ++i)
        add(QStringLiteral("K%1").arg(i), QStringLiteral("T%1").arg(i), i);
    rs->MoveFirst();
    rs->MoveNext();
    rs->Delete();  // K2 gone: the rowids have a gap
    rs->MoveLast();
    auto first = rs->ReadPage(0, 2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].values[0].toString(), "K1");
    EXPECT_EQ(first[1].values[0].toString(), "K3");
    EXPECT_EQ(first[1].values[2].toLongLong(), 3);
    // Between two reads another connection writes at once.
    auto other = Database::OpenDatabase(path);
    other->BeginTrans();
    other->OpenRecordset(QStringLiteral("Video Database"))->Delete();  // K1
    other->CommitTrans();
    auto rest = rs->ReadPage(first.back().rowid, 10);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].values[0].toString(), "K4");
    EXPECT_EQ(rest[1].values[0].toString(), "K5");
    EXPECT_TRUE(rs->ReadPage(rest.back().rowid, 10).empty());
    EXPECT_EQ(rs->Text(0), "K5");  // the current row stayed
}

TEST_F(StoreTest, CountsStayExactThroughOwnWritesOtherWritersTriggersAndRollbacks)
{
    db->AppendTableDef(TableDef{QStringLiteral("Log"), {FieldDef{QStringLiteral("Entry"), dbText, 30, 0}}, {}});
    auto log = db->OpenRecordset(QStringLiteral("Log"));
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(log->RecordCount(), 0);
    add("K1", "A");
    add("K2", "B");
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->MoveFirst();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 1);

    // Another program's commit is counted afresh.
    {
        auto other = Database::OpenDatabase(path);
        auto otherLog = other->OpenRecordset(QStringLiteral("Log"));
        otherLog->AddNew();
        otherLog->SetValue(0, QStringLiteral("from the other counter"));
        otherLog->Update();
    }
    EXPECT_EQ(log->RecordCount(), 1);

    // A trigger of the file writes another table along with ours.
    SQLite::Database raw(path.toStdString(), SQLite::OPEN_READWRITE);
    raw.exec("CREATE TRIGGER log_it AFTER INSERT ON \"Video Database\" "
             "BEGIN INSERT INTO \"Log\" VALUES ('added ' || NEW.\"Video Code\"); END");
    EXPECT_EQ(log->RecordCount(), 1);
    add("K3", "C");
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(log->RecordCount(), 2);

    // Rows written and then rolled back are not counted.
    db->BeginTrans();
    add("K4", "D");
    EXPECT_EQ(rs->RecordCount(), 3);
    db->Rollback();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(log->RecordCount(), 2);
}

TEST_F(StoreTest, OtherConnectionsSeeCommittedChangesAtOnce)
{
    auto other = Database::OpenDatabase(path);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    EXPECT_EQ(ors->RecordCount(), 0);
    add("A", "a");
    EXPECT_EQ(ors->RecordCount(), 1);
    ors->MoveFirst();
    ors->Edit();
    ors->SetValue(1, QStringLiteral("changed elsewhere"));
    ors->Update();
    rs->MoveFirst();
    EXPECT_EQ(rs->Text(1), "changed elsewhere");
    ors->Delete();
    EXPECT_EQ(rs->RecordCount(), 0);
    expectRefused([&] { rs->Value(1); }, ErrorKind::RecordDeleted, "Record is deleted.");
    // A failed read leaves no lock behind: the other connection still writes.
    ors->AddNew();
    ors->SetValue(0, QStringLiteral("B"));
    EXPECT_NO_THROW(ors->Update());
}

TEST_F(StoreTest, EditHoldsTheWriteLockSoNoWriteIsLost)
{
    add("A", "a");
    auto other = Database::OpenDatabase(path);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    // A write made elsewhere before the edit begins is what the edit sees.
    ors->Edit();
    ors->SetValue(1, QStringLiteral("theirs"));
    ors->Update();
    rs->MoveFirst();
    rs->Edit();
    EXPECT_EQ(rs->Text(1), "theirs");
    // While this edit is pending, the other connection cannot begin one: it
    // waits out the busy timeout and is told the file is in use.
    expectRefused([&] { ors->Edit(); }, ErrorKind::Busy, "in use by another program");
    rs->SetValue(1, QStringLiteral("mine"));
    rs->Update();
    ors->Edit();  // the lock is free again, and the row is re-read
    EXPECT_EQ(ors->Text(1), "mine");
    ors->CancelUpdate();
}

TEST_F(StoreTest, PendingEditsAreDiscardedTogether)
{
    add("A", "a");
    rs->MoveFirst();
    rs->Edit();
    rs->SetValue(1, QStringLiteral("never saved"));
    CancelAllPendingEdits();
    EXPECT_FALSE(rs->EditPending());
    EXPECT_EQ(rs->Text(1), "a");
    auto other = Database::OpenDatabase(path);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    ors->Edit();
    ors->CancelUpdate();
}

TEST_F(StoreTest, ClosingTheDatabaseClosesItsRecordSets)
{
    add("A", "a");
    db->Close();
    expectRefused([&] { rs->RecordCount(); }, ErrorKind::ObjectClosed, "no longer set");
}

TEST_F(StoreTest, ANonDatabaseFileIsRefusedAtOpening)
{
    const QString junk = dir.filePath(QStringLiteral("junk.mdb"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'j'));
    f.close();
    expectRefused([&] { Database::OpenDatabase(junk); }, ErrorKind::NotADatabase, "not a database");
    expectRefused([&] { Database::OpenDatabase(dir.filePath(QStringLiteral("missing.mdb"))); },
                  ErrorKind::Io, "Could not find file");
    expectRefused([&] { db->OpenRecordset(QStringLiteral("No Such Table")); }, ErrorKind::TableNotFound,
                  "No Such Table");
}

// ---------------------------------------------------------------------------
// Browsing support

TEST_F(StoreTest, MoveSkipsRowsFromTheCurrentRowOrABookmarkAcrossGaps)
{
    for (int i = 1; i <= 6; ++i)
        add(QStringLiteral("K%1").arg(i), QStringLiteral("T%1").arg(i), i);
    rs->MoveFirst();
    rs->MoveNext();
    const std::int64_t k2 = rs->Bookmark();
    rs->Delete();  // K2 gone; it keeps its place as a start
    rs->Move(2, k2);
    EXPECT_EQ(rs->Text(0), "K4");
    rs->Move(-2);
    EXPECT_EQ(rs->Text(0), "K1");
    rs->Move(-1, k2);
    EXPECT_EQ(rs->Text(0), "K1");
    rs->Move(4);
    EXPECT_EQ(rs->Text(0), "K6");
    // Beyond either end: Eof or Bof, and from there back in.
    rs->Move(1);
    EXPECT_TRUE(rs->Eof());
    rs->Move(-1);
    EXPECT_EQ(rs->Text(0), "K6");
    rs->Move(-9);
    EXPECT_TRUE(rs->Bof());
    rs->Move(3);
    EXPECT_EQ(rs->Text(0), "K4");
    expectRefused([&] { rs->Move(0, k2); }, ErrorKind::RecordDeleted, "Record is deleted.");
    EXPECT_EQ(rs->Text(0), "K4");
    rs->Move(0, rs->Bookmark());
    EXPECT_EQ(rs->Text(0), "K4");
}

TEST_F(StoreTest, MoveNeedsARowToStartFrom)
{
    expectRefused([&] { rs->Move(1); }, ErrorKind::NoCurrentRecord, "No current record.");
    add("A", "a");
    rs->MoveFirst();
    rs->MoveNext();
    ASSERT_TRUE(rs->Eof());
    expectRefused([&] { rs->Move(2); }, ErrorKind::NoCurrentRecord, "No current record.");
    expectRefused([&] { rs->Move(0); }, ErrorKind::NoCurrentRecord, "No current record.");
}

TEST_F(StoreTest, PagesOfSomeFieldsCarryThoseFieldsInTheOrderAsked)
{
    add("A", "a", 4);
    rs->AddNew();
    rs->SetValue(QStringLiteral("Video Code"), QStringLiteral("B"));
    rs->SetValue(QStringLiteral("Rent Date"), QDate(2026, 12, 7));
    rs->Update();
    const auto page = rs->ReadPage(0, 10, {4, 2, 1});
    ASSERT_EQ(page.size(), 2u);
    ASSERT_EQ(page[0].values.size(), 3u);
    EXPECT_TRUE(page[0].values[0].isNull());
    EXPECT_EQ(page[0].values[1].toLongLong(), 4);
    EXPECT_EQ(page[0].values[2].toString(), "a");
    EXPECT_EQ(page[1].values[0].toDate(), QDate(2026, 12, 7));
    EXPECT_TRUE(rs->ReadPage(page[1].rowid, 10, {1}).empty());
    expectRefused([&] { rs->ReadPage(0, 1, {9}); }, ErrorKind::ItemNotFound, "Item not found");
}

TEST_F(StoreTest, DataVersionChangesOnlyWithAnotherConnectionsCommit)
{
    auto other = Database::OpenDatabase(path);
    const std::int64_t before = other->DataVersion();
    EXPECT_EQ(other->DataVersion(), before);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    ors->AddNew();
    ors->SetValue(0, QStringLiteral("own"));
    ors->Update();
    EXPECT_EQ(other->DataVersion(), before);  // its own write
    add("A", "a");
    EXPECT_NE(other->DataVersion(), before);
}

TEST(DeclaredTypes, ReadBackTheTypesTheyWereMadeWith)
{
    const FieldInfo t = fieldInfoFromDeclared("T", declaredType(FieldDef{"T", dbText, 62, 0}), 0, false);
    EXPECT_EQ(t.type, dbText);
    EXPECT_EQ(t.size, 62);
    const FieldInfo n = fieldInfoFromDeclared("N", declaredType(FieldDef{"N", dbLong, 0, dbVariableField}), 0, false);
    EXPECT_EQ(n.type, dbLong);
    EXPECT_EQ(n.attributes, 34);
    EXPECT_EQ(fieldInfoFromDeclared("G", "INT32", 3, false).attributes, dbVariableField);  // generated
    EXPECT_EQ(fieldInfoFromDeclared("F", "INT32 FIXED", 0, false).attributes, 33);
    EXPECT_EQ(fieldInfoFromDeclared("V", "varchar( 20 )", 0, false).size, 20);
    EXPECT_EQ(fieldInfoFromDeclared("M", "TEXT", 0, false).type, dbMemo);
    EXPECT_EQ(fieldInfoFromDeclared("I", "INTEGER", 0, false).type, dbBigInt);
    EXPECT_EQ(fieldInfoFromDeclared("R", "REAL", 0, false).type, dbDouble);
}

// ---------------------------------------------------------------------------
// Reading chosen fields in a long walk

TEST_F(StoreTest, TextPagesGiveTheChosenFieldsAsTextShowsThem)
{
    add("K1", "First");
    add("K2", "Second", 22);
    add("K3", "Third");
    rs->MoveFirst();
    rs->MoveNext();
    rs->Edit();
    rs->SetValue(QStringLiteral("Title"), QVariant());  // K2 has no title
    rs->Update();
    {
        // Another program wrote a number into the text field of K3.
        SQLite::Database raw(path.toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("UPDATE \"Video Database\" SET \"Title\" = 7.5 WHERE \"Video Code\" = 'K3'");
    }
    rs->MoveLast();
    struct Seen {
        std::int64_t rowid;
        QStringList texts;
    };
    std::vector<Seen> seen;
    const auto visit = [&](std::int64_t rowid, const Recordset::FieldText* t) {
        QStringList texts;
        for (int i = 0; i < 3; ++i)
            texts << (t[i].isNull() ? QStringLiteral("<null>") : QString::fromUtf8(t[i].utf8, t[i].size));
        seen.push_back({rowid, texts});
    };
    const std::vector<int> positions{1, 2, 0};  // Title, Tapes In, Video Code
    const std::int64_t last = rs->ReadTextPage(0, 2, positions, visit);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].texts, (QStringList{"First", "1", "K1"}));
    EXPECT_EQ(seen[1].texts, (QStringList{"<null>", "22", "K2"}));
    EXPECT_EQ(last, seen[1].rowid);
    // Between two pages another connection writes at once.
    auto other = Database::OpenDatabase(path);
    auto ors = other->OpenRecordset(QStringLiteral("Video Database"));
    ors->AddNew();
    ors->SetValue(0, QStringLiteral("K4"));
    EXPECT_NO_THROW(ors->Update());
    const std::int64_t end = rs->ReadTextPage(last, 10, positions, visit);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(end, seen[3].rowid);
    EXPECT_EQ(seen[2].texts, (QStringList{rs->Text(1), "1", "K3"}));
    EXPECT_EQ(seen[2].texts[0], "7.5");
    EXPECT_EQ(seen[3].texts, (QStringList{"<null>", "<null>", "K4"}));
    // Past the last row nothing is visited and the start comes back.
    EXPECT_EQ(rs->ReadTextPage(end, 10, positions, visit), end);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(rs->Text(0), "K3");  // the current row stayed
    expectRefused([&] { rs->ReadTextPage(0, 10, {9}, visit); }, ErrorKind::ItemNotFound, "Item not found");
}

}  // namespace

// ---------------------------------------------------------------------------
// Waiting for another counter

namespace {

// Another program that writes without a pause: it holds the file for 20 ms
// at a time and leaves it free only for a moment between two writes.
class BusyWriter {
public:
    explicit BusyWriter(const QString& path)
        : thread_([this, path] {
              SQLite::Database raw(path.toStdString(), SQLite::OPEN_READWRITE, 5000);
              while (!stop_) {
                  raw.exec("BEGIN IMMEDIATE");
                  raw.exec("UPDATE \"Video Database\" SET \"Tapes In\" = \"Tapes In\" + 1");
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  raw.exec("COMMIT");
                  ++writes_;
                  // As long as a counter takes between two writes: a short
                  // spell of work, not a sleep.
                  const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
                  while (std::chrono::steady_clock::now() < until) {
                  }
              }
          })
    {
    }
    ~BusyWriter()
    {
        stop_ = true;
        thread_.join();
    }
    int writes() const { return writes_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> writes_{0};
    std::thread thread_;
};

}  // namespace

TEST_F(StoreTest, AWaitingWriterGetsItsTurnBetweenAnotherProgramsWrites)
{
    add("A", "a");
    BusyWriter other(path);
    while (other.writes() == 0)
        std::this_thread::yield();
    // Each transaction waits for a moment when the file is free, well within
    // the busy timeout, and is never told that the file is in use.
    for (int round = 0; round < 3; ++round) {
        EXPECT_NO_THROW({
            db->BeginTrans();
            add(QStringLiteral("K%1").arg(round), "mine");
            db->CommitTrans();
        }) << "round " << round;
        if (db->InTransaction())
            db->Rollback();
    }
    EXPECT_EQ(rs->RecordCount(), 4);
}
