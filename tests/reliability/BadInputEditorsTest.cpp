// Bad input in every box of the video and member editors, and the titles so
// written read back by the inventory: each input is kept (cut to its field's
// width) or refused with a message, and the file stays sound with the rows
// it should hold.
#include "browse/frmInventory.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "reliability/BadInputCases.h"
#include "shell/Windows.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>

using namespace bad_input;
using testing_support::control;
using testing_support::pump;

namespace {

// A box of an editor and the field it writes (an empty field: a number box).
struct EditorBox {
    const char* name;
    const char* field;
    int width;
};

class BadInputEditorsTest : public BadInputTest {
protected:
    template <class Editor>
    Editor* openEditor(bool editMode)
    {
        modQuorvane::EditMode = editMode;
        modQuorvane::SearchField.clear();
        modQuorvane::SearchValue.clear();
        Editor* w = windows::reopen<Editor>();
        pump();
        return w;
    }

    static void fill(QWidget* w, const std::vector<std::pair<const char*, QString>>& boxes)
    {
        for (const auto& [name, text] : boxes)
            control<QLineEdit>(w, name)->setText(text);
    }

    // Types each bad input into each box in turn, the other boxes holding
    // good values (a new code each time), and saves. Returns how they ended.
    Tally tryEveryBox(QWidget* w, const std::vector<EditorBox>& boxes, const QString& table,
                      const QString& registry, const std::function<std::vector<std::pair<const char*, QString>>(int)>& good)
    {
        Tally tally;
        int serial = 0;
        for (const EditorBox& box : boxes) {
            for (const BadInput& input : badInputs()) {
                SCOPED_TRACE(std::string(box.name) + " <- " + input.name);
                std::map<QString, long long> want = tableCounts();
                const auto goodValues = good(++serial);
                fill(w, goodValues);
                control<QLineEdit>(w, box.name)->setText(input.text);
                dialogs_.clear();
                control<QPushButton>(w, "cmdSave")->click();
                ++tally.tried;

                if (!box.field || refusedByTheFile(input.text)) {
                    expectClearMessages();
                    expectFileHolds(want);
                    ++tally.refused;
                    continue;
                }
                EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
                ++want[table];
                ++want[registry];
                expectFileHolds(want);
                // Every field as typed, the bad one as its field keeps it.
                const std::vector<QString> row = lastRow(table);
                for (size_t i = 0; i < goodValues.size() && i < row.size(); ++i) {
                    const bool bad = QString::fromLatin1(goodValues[i].first) == QLatin1String(box.name);
                    const QString typed = bad ? input.text : goodValues[i].second;
                    EXPECT_EQ(row[i], bad ? storedForm(typed, box.width) : typed) << goodValues[i].first;
                }
                ++(keptWhole(input.text, box.width) ? tally.keptWhole : tally.cut);
            }
        }
        return tally;
    }
};

const std::vector<EditorBox> kVideoBoxes{{"txtCode", "Video Code", 30},       {"txtTitle", "Title", 30},
                                         {"txtMain", "Main Cast", 30},        {"txtSecond", "Second Cast", 30},
                                         {"txtCategory", "Category", 30},     {"txtTapes", nullptr, 0}};

const std::vector<EditorBox> kMemberBoxes{{"txtCode", "Member ID", 30},  {"txtLast", "Last Name", 30},
                                          {"txtFirst", "First Name", 30}, {"txtAddress", "Address", 50},
                                          {"txtContact", "Contact", 30}};

TEST_F(BadInputEditorsTest, VideoEditorKeepsEachBadInputCutToItsFieldOrRefusesIt)
{
    frmAdd* w = openEditor<frmAdd>(false);
    const Tally tally = tryEveryBox(w, kVideoBoxes, schema::kVideo, schema::kVideoCode, [](int n) {
        return std::vector<std::pair<const char*, QString>>{{"txtCode", "K" + QString::number(n)},
                                                            {"txtTitle", "Title " + QString::number(n)},
                                                            {"txtMain", "Main"},
                                                            {"txtSecond", "Second"},
                                                            {"txtCategory", "Drama"},
                                                            {"txtTapes", "3"}};
    });
    std::cout << tally.summary("video editor (add)") << std::endl;
    EXPECT_EQ(tally.tried, static_cast<int>(kVideoBoxes.size() * badInputs().size()));
}

TEST_F(BadInputEditorsTest, VideoEditorInEditModeWritesBadInputIntoTheShownTitle)
{
    for (int n : {1, 2}) {
        addTitle(n);
        modQuorvane::rsVideoCode->AddNew();
        modQuorvane::rsVideoCode->SetValue(0, "V" + QString::number(n));
        modQuorvane::rsVideoCode->SetValue(1, "Title " + QString::number(n));
        modQuorvane::rsVideoCode->Update();
    }
    Tally tally;
    for (const EditorBox& box : kVideoBoxes) {
        if (box.name == std::string("txtCode"))
            continue;  // the code of a title on file cannot be changed
        for (const BadInput& input : badInputs()) {
            SCOPED_TRACE(std::string(box.name) + " <- " + input.name);
            frmAdd* w = openEditor<frmAdd>(true);
            const std::map<QString, long long> want = tableCounts();
            const std::vector<QString> before = lastRow(schema::kVideo);
            control<QLineEdit>(w, box.name)->setText(input.text);
            dialogs_.clear();
            control<QPushButton>(w, "cmdSave")->click();
            ++tally.tried;
            // The first title is written, never another.
            EXPECT_EQ(lastRow(schema::kVideo), before);
            expectFileHolds(want);
            auto rs = modQuorvane::dbMain->OpenRecordset(schema::kVideo);
            rs->MoveFirst();
            EXPECT_EQ(rs->Text(0), "V1");
            if (!box.field || refusedByTheFile(input.text)) {
                expectClearMessages();
                ++tally.refused;
                continue;
            }
            EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
            EXPECT_EQ(rs->Text(QString::fromLatin1(box.field)), storedForm(input.text, box.width));
            ++(keptWhole(input.text, box.width) ? tally.keptWhole : tally.cut);
        }
    }
    std::cout << tally.summary("video editor (edit)") << std::endl;
}

TEST_F(BadInputEditorsTest, MemberEditorKeepsEachBadInputCutToItsFieldOrRefusesIt)
{
    frmMembers* w = openEditor<frmMembers>(false);
    const Tally tally = tryEveryBox(w, kMemberBoxes, schema::kMembers, schema::kMemberCode, [](int n) {
        return std::vector<std::pair<const char*, QString>>{{"txtCode", "K" + QString::number(n)},
                                                            {"txtLast", "Last"},
                                                            {"txtFirst", "First"},
                                                            {"txtAddress", "Street " + QString::number(n)},
                                                            {"txtContact", "555-0100"}};
    });
    std::cout << tally.summary("member editor") << std::endl;
    EXPECT_EQ(tally.tried, static_cast<int>(kMemberBoxes.size() * badInputs().size()));
}

// The inventory has no box to type into: it lists the titles on file and
// finds the chosen one by its title. Titles made of bad input are listed as
// kept and each finds its own counts.
TEST_F(BadInputEditorsTest, InventoryListsAndFindsTitlesMadeOfBadInput)
{
    int tapes = 0;
    std::vector<QString> titles;
    for (const BadInput& input : badInputs()) {
        if (refusedByTheFile(input.text))
            continue;
        const QString title = storedForm(input.text, 30);
        if (std::find(titles.begin(), titles.end(), title) != titles.end())
            continue;
        titles.push_back(title);
        ++tapes;
        addTitleNamed("I" + QString::number(tapes), title, tapes);
    }
    control<QAction>(main, "mnuViewInventory")->trigger();
    pump();
    frmInventory* w = windows::find<frmInventory>();
    ASSERT_NE(w, nullptr);
    QListView* list = control<QListView>(w, "lstInventory");
    ASSERT_EQ(list->model()->rowCount(), static_cast<int>(titles.size()));
    for (int row = 0; row < static_cast<int>(titles.size()); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(list->model()->data(list->model()->index(row, 0)).toString(), titles[static_cast<size_t>(row)]);
        list->setCurrentIndex(list->model()->index(row, 0));
        EXPECT_EQ(control<QLineEdit>(w, "txtTapesIn")->text(), QString::number(row + 1));
    }
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(" / ").toStdString();
    std::cout << "inventory: " << titles.size() << " titles of bad input listed and found" << std::endl;
}

}  // namespace
