// Bad input in the rent and return windows' two code boxes: a code that is
// not on file is refused with a message and changes nothing; a code made of
// bad input that is on file rents and returns like any other, and the rows
// written carry it exactly.
#include "reliability/BadInputCases.h"
#include "shell/Windows.h"
#include "transactions/frmRent.h"
#include "transactions/frmReturn.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <iostream>

using namespace bad_input;
using testing_support::control;
using testing_support::pump;

namespace {

class BadInputTransactionsTest : public BadInputTest {
protected:
    void SetUp() override
    {
        BadInputTest::SetUp();
        addTitle(1);
        addMember(1);
    }

    template <class Window>
    Window* openWith(const QString& code, const QString& member)
    {
        Window* w = windows::reopen<Window>();
        pump();
        control<QLineEdit>(w, "txtVcode")->setText(code);
        control<QLineEdit>(w, "txtMemcode")->setText(member);
        dialogs_.clear();
        return w;
    }

    // A code not on file in either box: refused, nothing written.
    template <class Window>
    Tally refuseEveryUnknownCode()
    {
        Tally tally;
        for (const char* boxName : {"txtVcode", "txtMemcode"}) {
            for (const BadInput& input : badInputs()) {
                SCOPED_TRACE(std::string(boxName) + " <- " + input.name);
                const std::map<QString, long long> want = tableCounts();
                const bool inVcode = boxName == std::string("txtVcode");
                Window* w = openWith<Window>(inVcode ? input.text : QStringLiteral("V1"),
                                             inVcode ? QStringLiteral("M1") : input.text);
                control<QPushButton>(w, "cmdCheck")->click();
                ++tally.tried;
                expectClearMessages();
                EXPECT_FALSE(control<QPushButton>(w, "cmdTrans")->isEnabled());
                expectFileHolds(want);
                ++tally.refused;
            }
        }
        return tally;
    }

    // Checks and presses Rent or Return; the one message is the success.
    template <class Window>
    void checkAndDo(const QString& code)
    {
        Window* w = openWith<Window>(code, code);
        control<QPushButton>(w, "cmdCheck")->click();
        ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
        ASSERT_TRUE(control<QPushButton>(w, "cmdTrans")->isEnabled());
        control<QPushButton>(w, "cmdTrans")->click();
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Member ")) << dialogs_.messages[0].text.toStdString();
    }

    static void putOnFile(const QString& code)
    {
        addTitleNamed(code, QStringLiteral("Title"), 2);
        store::Recordset& rs = *modQuorvane::rsMembers;
        const std::vector<QVariant> values{code, "Last", "First", "Street", "555"};
        rs.AddNew();
        for (int i = 0; i < static_cast<int>(values.size()); ++i)
            rs.SetValue(i, values[static_cast<size_t>(i)]);
        rs.Update();
    }
};

TEST_F(BadInputTransactionsTest, RentRefusesEveryBadCodeNotOnFile)
{
    const Tally tally = refuseEveryUnknownCode<frmRent>();
    std::cout << tally.summary("rent window") << std::endl;
}

TEST_F(BadInputTransactionsTest, ReturnRefusesEveryBadCodeNotOnFile)
{
    const Tally tally = refuseEveryUnknownCode<frmReturn>();
    std::cout << tally.summary("return window") << std::endl;
}

// Codes made of bad input, on file as title and member alike (those a field
// keeps whole): rented and returned, the rows carrying them exactly.
TEST_F(BadInputTransactionsTest, CodesOfBadInputOnFileRentAndReturnExactly)
{
    int tried = 0;
    for (const BadInput& input : badInputs()) {
        if (!keptWhole(input.text, 30) || refusedByTheFile(input.text))
            continue;
        SCOPED_TRACE(input.name);
        putOnFile(input.text);
        std::map<QString, long long> want = tableCounts();

        checkAndDo<frmRent>(input.text);
        ++want[schema::kRentals];
        expectFileHolds(want);
        const std::vector<QString> rental = lastRow(schema::kRentals);
        ASSERT_EQ(rental.size(), 4u);
        EXPECT_EQ(rental[0], input.text);
        EXPECT_EQ(rental[1], input.text);
        EXPECT_EQ(rental[3], "No");

        checkAndDo<frmReturn>(input.text);
        ++want[schema::kReturnee];
        expectFileHolds(want);
        EXPECT_EQ(lastRow(schema::kRentals)[3], "Yes");
        const std::vector<QString> returned = lastRow(schema::kReturnee);
        ASSERT_EQ(returned.size(), 4u);
        EXPECT_EQ(returned[0], input.text);
        EXPECT_EQ(returned[1], input.text);
        // The title's stock is back where it was, and no other title moved.
        const std::vector<QString> title = lastRow(schema::kVideo);
        EXPECT_EQ(title[5] + "/" + title[6], "2/0");
        ++tried;
    }
    std::cout << "rent and return windows: " << tried << " codes of bad input rented and returned" << std::endl;
    EXPECT_GT(tried, 15);
}

}  // namespace
