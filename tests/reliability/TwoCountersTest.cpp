// Two counters on one file, renting and taking back the same few tapes as
// fast as they can: no stock update is lost, no stock goes below 0, every
// committed operation is on file, and a busy file is waited for, never
// reported to the clerk. And the browsing windows, held open in one counter
// while another writes, neither stop the writes nor stop working.
#include "reliability/CounterWorkerRun.h"

#include "browse/Search.h"
#include "browse/frmDatabaseGrid.h"
#include "browse/frmEditSearch.h"
#include "browse/frmInventory.h"
#include "browse/frmSearch.h"
#include "shell/ShellFixture.h"
#include "shell/Windows.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <iostream>
#include <random>

using namespace reliability;
using testing_support::control;
using testing_support::pump;

namespace {

// How often the order of committed rents switches from one counter to the
// other: 1 when one counter did all its rents before the other began.
int switchesBetween(const CounterWorker& a, const CounterWorker& b)
{
    std::map<std::int64_t, int> byRow;
    for (const auto& r : a.rents())
        byRow[r.rental] = 0;
    for (const auto& r : b.rents())
        byRow[r.rental] = 1;
    int switches = 0, last = -1;
    for (const auto& [row, who] : byRow) {
        if (who != last)
            ++switches;
        last = who;
    }
    return switches;
}

class TwoCountersTest : public testing_support::QuorvaneTest {};

TEST_F(TwoCountersTest, TwoCountersOnTheSameTapesLoseNothingAndShowNoError)
{
    const unsigned seed = runSeed();
    const long long each = longRun() ? 1000 : 150;
    const ShopSetup setup{3, 2, 6};
    seedShop(setup);

    QElapsedTimer clock;
    clock.start();
    CounterWorker a(folder(), seed, each);
    CounterWorker b(folder(), seed + 1, each);
    while (a.poll(20) | b.poll(20)) {
    }
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;

    for (const CounterWorker* w : {&a, &b}) {
        EXPECT_EQ(w->exitCode(), 0) << w->shown().toStdString();
        EXPECT_FALSE(w->crashed());
        EXPECT_EQ(w->errorMessages(), QStringList());
        EXPECT_EQ(w->failed(), 0);
        EXPECT_GE(w->committed(), each);
    }
    // Both counters really worked side by side.
    EXPECT_GT(switchesBetween(a, b), 1);

    Ledger ledger;
    ledger.add(a);
    ledger.add(b);
    const ShopFile shop = readShop(dbPath());
    EXPECT_EQ(ruleBreaches(shop, stockAtStart(setup)), QStringList());
    EXPECT_EQ(ledger.check(shop, 0), QStringList());

    std::cout << "[ figures  ] two counters: " << a.committed() << " + " << b.committed() << " operations ("
              << ledger.rents() << " rents, " << ledger.returns() << " returns), " << a.refused() + b.refused()
              << " refusals, " << a.errorMessages().size() + b.errorMessages().size() << " errors, "
              << switchesBetween(a, b) << " switches between the counters, longest operation "
              << std::max(a.slowestMs(), b.slowestMs()) << " ms, in " << seconds << " s" << std::endl;
    RecordProperty("operations", static_cast<int>(a.committed() + b.committed()));
    RecordProperty("refusals", static_cast<int>(a.refused() + b.refused()));
}

// The clerk at one counter keeps the rentals grid, the inventory and a
// search's results open, and keeps using them, while another counter rents
// and takes back tapes.
class TwoCountersWindowsTest : public shell_tests::ShellTest {
protected:
    template <class W>
    W* openFrom(const char* command)
    {
        control<QAction>(main, command)->trigger();
        pump();
        W* w = windows::find<W>();
        EXPECT_NE(w, nullptr) << command;
        return w;
    }

    static QStringList lines(QObject* w)
    {
        QStringList out;
        QAbstractItemModel* m = control<QListView>(w, "lstResults")->model();
        for (int i = 0; i < m->rowCount(); ++i)
            out << m->index(i, 0).data().toString();
        return out;
    }

    static void searchTitles(QWidget* w, const QString& query)
    {
        control<QLineEdit>(w, "txtQuery")->setText(query);
        control<QComboBox>(w, "cboTables")->setCurrentIndex(search::kVideoTable);
        control<QComboBox>(w, "cboFields")->setCurrentIndex(0);
        control<QComboBox>(w, "cboStyle")->setCurrentIndex(search::AnyWord);
        control<QPushButton>(w, "cmdSearch")->click();
        pump();
    }

    static QString counts(frmInventory* w)
    {
        return control<QLineEdit>(w, "txtTapesIn")->text() + "/" + control<QLineEdit>(w, "txtTapesOut")->text();
    }

    static void select(frmInventory* w, int row)
    {
        QListView* l = control<QListView>(w, "lstInventory");
        l->setCurrentIndex(l->model()->index(row, 0));
    }

    QStringList errorsShown() const
    {
        QStringList out;
        for (const QString& t : dialogs_.texts())
            if (t.startsWith(QLatin1String("Error :")))
                out << t;
        return out;
    }
};

TEST_F(TwoCountersWindowsTest, GridInventoryAndSearchStayOpenAndWorkWhileAnotherCounterWrites)
{
    const unsigned seed = runSeed();
    const long long operations = longRun() ? 1000 : 100;
    const ShopSetup setup{3, 2, 6};
    stockShop(setup);

    auto* grid = openFrom<frmDatabaseGrid>("mnuViewRent");
    auto* inventory = openFrom<frmInventory>("mnuViewInventory");
    main->mnuSearch_Click();
    pump();
    auto* dialog = windows::find<frmSearch>();
    ASSERT_TRUE(grid && inventory && dialog);
    searchTitles(dialog, "Title");
    auto* results = windows::find<frmEditSearch>();
    ASSERT_NE(results, nullptr);
    const QStringList found = lines(results);
    ASSERT_EQ(found, (QStringList{"1. Title : Title 1", "2. Title : Title 2", "3. Title : Title 3"}));
    QTableView* rows = control<QTableView>(grid, "DBGrid");
    QPushButton* refresh = control<QPushButton>(grid, "cmdCommand");
    ASSERT_EQ(rows->model()->rowCount(), 0);

    CounterWorker other(folder(), seed, operations);
    // The clerk refreshes the grid, picks titles in the inventory and
    // searches again, over and over, while the other counter writes.
    int turns = 0;
    while (other.poll(5)) {
        ++turns;
        refresh->click();
        rows->scrollToBottom();
        select(inventory, turns % 3);
        if (turns % 10 == 0)
            searchTitles(results, "Title");
        pump();
    }
    EXPECT_EQ(other.exitCode(), 0) << other.shown().toStdString();
    EXPECT_EQ(other.errorMessages(), QStringList());
    EXPECT_GE(other.committed(), operations);
    EXPECT_EQ(errorsShown(), QStringList());

    // Everything the other counter wrote is on file and shows in the windows.
    const ShopFile shop = readShop(dbPath());
    EXPECT_EQ(ruleBreaches(shop, stockAtStart(setup)), QStringList());
    Ledger ledger;
    ledger.add(other);
    EXPECT_EQ(ledger.check(shop, 0), QStringList());
    refresh->click();
    pump();
    EXPECT_EQ(rows->model()->rowCount(), static_cast<int>(shop.rentals.size()));
    EXPECT_EQ(main->panelText(2), QStringLiteral("%1 records").arg(shop.rentals.size()));
    for (int t = 0; t < setup.titles; ++t) {
        // Counts are read when an entry is chosen: choose another first, in
        // case the last turn left this one chosen.
        select(inventory, (t + 1) % setup.titles);
        select(inventory, t);
        const ShopFile::Title& stock = shop.titles.at(codeOf(t + 1));
        EXPECT_EQ(counts(inventory), QStringLiteral("%1/%2").arg(stock.in).arg(stock.out));
    }
    searchTitles(results, "Title");
    EXPECT_EQ(lines(results), found);
    EXPECT_EQ(errorsShown(), QStringList());
    std::cout << "[ figures  ] windows open while another counter wrote: " << other.committed()
              << " operations, " << other.refused() << " refusals, " << turns << " turns of the clerk's windows"
              << std::endl;
}

}  // namespace
