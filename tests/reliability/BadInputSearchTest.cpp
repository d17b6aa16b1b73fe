// Bad input as the query of the search dialog and of the results window:
// each query finds exactly the titles that hold it, letter for letter (no
// character is a wildcard), the title found hands itself to the editor, and
// nothing on file changes.
#include "browse/Search.h"
#include "browse/frmEditSearch.h"
#include "browse/frmSearch.h"
#include "catalogue/frmAdd.h"
#include "reliability/BadInputCases.h"
#include "shell/Windows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <gtest/gtest.h>

#include <iostream>

using namespace bad_input;
using testing_support::control;
using testing_support::pump;

namespace {

class BadInputSearchTest : public BadInputTest {
protected:
    void SetUp() override
    {
        BadInputTest::SetUp();
        // A title made of each input the file keeps, and two plain ones.
        std::vector<QString> titles{QStringLiteral("Plain one"), QStringLiteral("Plain two")};
        for (const BadInput& input : badInputs())
            if (!refusedByTheFile(input.text))
                titles.push_back(storedForm(input.text, 30));
        for (const QString& title : titles) {
            codes_.push_back({"S" + QString::number(codes_.size() + 1), title});
            addTitleNamed(codes_.back().first, title, 1);
        }
        counts_ = tableCounts();
    }

    void TearDown() override
    {
        search::setPacing(search::Pacing{});
        BadInputTest::TearDown();
    }

    // Sets the query box and the lists of a search window (titles, by their
    // title, as an exact phrase unless told) and presses Search.
    static void searchTitles(QWidget* w, const QString& query, int style = search::ExactPhrase)
    {
        control<QLineEdit>(w, "txtQuery")->setText(query);
        control<QComboBox>(w, "cboTables")->setCurrentIndex(search::kVideoTable);
        control<QComboBox>(w, "cboFields")->setCurrentIndex(0);
        control<QComboBox>(w, "cboStyle")->setCurrentIndex(style);
        control<QPushButton>(w, "cmdSearch")->click();
        pump();
    }

    static QStringList listed(frmEditSearch* w)
    {
        QStringList out;
        QAbstractItemModel* m = control<QListView>(w, "lstResults2")->model();
        for (int i = 0; i < m->rowCount(); ++i)
            out << m->index(i, 0).data().toString();
        return out;
    }

    // The titles on file that hold the query, in table order.
    QStringList holding(const QString& query) const
    {
        const QString needle = storedForm(query, query.size());
        QStringList out;
        for (const auto& [code, title] : codes_)
            if (title.contains(needle, Qt::CaseInsensitive))
                out << title;
        return out;
    }

    // What one search found: the titles that hold the query, or a message
    // that there are none; nothing written. A lone surrogate is no
    // character: such a query finds nothing or its title, and says which.
    void expectFound(frmEditSearch* w, const QString& query, Tally& tally)
    {
        ++tally.tried;
        const QStringList want = holding(query);
        const bool loneSurrogate = storedForm(query, query.size()) != query;
        if (want.isEmpty() || (loneSurrogate && (!w || listed(w).isEmpty()))) {
            expectClearMessages();
            ++tally.refused;
        } else {
            EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(listed(w), want);
            ++tally.keptWhole;
        }
        expectFileHolds(counts_);
    }

    // The results window, opened by the plain search command on the two
    // plain titles.
    frmEditSearch* openOnPlainTitles()
    {
        main->mnuSearch_Click();
        pump();
        searchTitles(windows::find<frmSearch>(), QStringLiteral("Plain"));
        frmEditSearch* results = windows::find<frmEditSearch>();
        EXPECT_EQ(results ? listed(results) : QStringList(), (QStringList{"Plain one", "Plain two"}));
        return results;
    }

    std::vector<std::pair<QString, QString>> codes_;  // code, title
    std::map<QString, long long> counts_;
};

TEST_F(BadInputSearchTest, DialogQueriesFindTheTitlesHoldingThemAndHandThemToTheEditor)
{
    Tally tally;
    for (const BadInput& input : badInputs()) {
        SCOPED_TRACE(input.name);
        windows::close<frmEditSearch>();
        windows::close<frmAdd>();
        pump();
        main->mnuVideoEdit_Click();
        pump();
        frmSearch* dialog = windows::find<frmSearch>();
        ASSERT_NE(dialog, nullptr);
        dialogs_.clear();
        searchTitles(dialog, input.text);
        frmEditSearch* results = windows::find<frmEditSearch>();
        expectFound(results, input.text, tally);
        if (!results || listed(results).isEmpty())
            continue;
        // The first title found, handed to the editor, is the one shown there.
        const QString first = listed(results).front();
        control<QPushButton>(results, "cmdEdit")->click();
        pump();
        frmAdd* editor = windows::find<frmAdd>();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(control<QLineEdit>(editor, "txtTitle")->text(), first);
        expectFileHolds(counts_);
    }
    std::cout << "search dialog: " << tally.tried << " queries; " << tally.keptWhole << " found their titles, "
              << tally.refused << " found nothing and said so" << std::endl;
}

TEST_F(BadInputSearchTest, ResultsWindowQueriesFindTheTitlesHoldingThem)
{
    frmEditSearch* results = openOnPlainTitles();
    ASSERT_NE(results, nullptr);
    Tally tally;
    for (const BadInput& input : badInputs()) {
        SCOPED_TRACE(input.name);
        dialogs_.clear();
        searchTitles(results, input.text);
        ASSERT_EQ(windows::find<frmEditSearch>(), results);
        if (holding(input.text).isEmpty()) {
            EXPECT_TRUE(listed(results).isEmpty());
        }
        expectFound(results, input.text, tally);
    }
    std::cout << "search results window: " << tally.tried << " queries; " << tally.keptWhole
              << " found their titles, " << tally.refused << " found nothing and said so" << std::endl;
}

// The other two styles: any word of the query finds at least the titles
// holding it whole; a whole record match finds the titles equal to it.
TEST_F(BadInputSearchTest, ResultsWindowQueriesInTheOtherStylesFindWhatTheyShould)
{
    frmEditSearch* results = openOnPlainTitles();
    ASSERT_NE(results, nullptr);
    int tried = 0;
    for (const BadInput& input : badInputs()) {
        SCOPED_TRACE(input.name);
        const bool loneSurrogate = storedForm(input.text, input.text.size()) != input.text;
        for (const int style : {search::AnyWord, search::ExactRecordMatch}) {
            dialogs_.clear();
            searchTitles(results, input.text, style);
            ++tried;
            const QStringList found = listed(results);
            if (found.isEmpty())
                expectClearMessages();
            else
                EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
            expectFileHolds(counts_);
            if (loneSurrogate)
                continue;
            if (style == search::AnyWord) {
                for (const QString& title : holding(input.text))
                    EXPECT_TRUE(found.contains(title)) << title.toStdString();
            } else {
                QStringList equal;
                for (const auto& [code, title] : codes_)
                    if (title.compare(input.text, Qt::CaseInsensitive) == 0)
                        equal << title;
                EXPECT_EQ(found, equal);
            }
        }
    }
    std::cout << "search results window, other styles: " << tried << " queries" << std::endl;
}

}  // namespace
