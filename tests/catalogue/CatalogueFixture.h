// A fresh database with the main window up, and short ways to put titles
// and members on file and to read them back.
#pragma once

#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "shell/frmMDIQuorvane.h"
#include "support/Harness.h"

#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace catalogue_tests {

struct Title {
    QString code, title, mainCast, secondCast, category;
    qlonglong tapesIn = 0, tapesOut = 0;
};

struct Member {
    QString id, lastName, firstName, address, contact;
};

class CatalogueTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        QuorvaneTest::SetUp();
        freshDatabase();
        frmMDIQuorvane::create()->show();
    }

    static frmMDIQuorvane* mainWindow() { return frmMDIQuorvane::instance(); }

    static void addTitle(const Title& t)
    {
        auto& rs = *modQuorvane::rsVideo;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Video Code"), t.code);
        rs.SetValue(QStringLiteral("Title"), t.title);
        rs.SetValue(QStringLiteral("Main Cast"), t.mainCast);
        rs.SetValue(QStringLiteral("Second Cast"), t.secondCast);
        rs.SetValue(QStringLiteral("Category"), t.category);
        rs.SetValue(QStringLiteral("Tapes In"), t.tapesIn);
        rs.SetValue(QStringLiteral("Tapes Out"), t.tapesOut);
        rs.Update();
    }

    // A title whose every field is told apart by its number.
    static void addTitle(int n, const QString& category = QStringLiteral("Drama"))
    {
        const QString s = QString::number(n);
        addTitle({"V" + s, "Title " + s, "Main " + s, "Second " + s, category, n, 0});
    }

    static void addMember(const Member& m)
    {
        auto& rs = *modQuorvane::rsMembers;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Member ID"), m.id);
        rs.SetValue(QStringLiteral("Last Name"), m.lastName);
        rs.SetValue(QStringLiteral("First Name"), m.firstName);
        rs.SetValue(QStringLiteral("Address"), m.address);
        rs.SetValue(QStringLiteral("Contact"), m.contact);
        rs.Update();
    }

    static void addMember(int n, const QString& lastName = QStringLiteral("Cruz"))
    {
        const QString s = QString::number(n);
        addMember({"M" + s, lastName, "First " + s, "Street " + s, "555-" + s});
    }

    // The row of the table whose field holds the value, read through a record
    // set of the test's own; nothing when there is none.
    static std::optional<std::vector<QString>> findRow(const QString& table, const QString& field,
                                                       const QString& value)
    {
        auto rs = modQuorvane::dbMain->OpenRecordset(table);
        if (!rs->FindFirst(field, value))
            return std::nullopt;
        std::vector<QString> row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row.push_back(rs->Text(i));
        return row;
    }

    static long long count(const QString& table) { return modQuorvane::dbMain->OpenRecordset(table)->RecordCount(); }

    QStringList messageTexts() const { return dialogs_.texts(); }
};

inline QLineEdit* box(QObject* w, const char* name) { return testing_support::control<QLineEdit>(w, name); }
inline QPushButton* button(QObject* w, const char* name) { return testing_support::control<QPushButton>(w, name); }

// The control that Tab moves to from this one.
inline QWidget* nextTabStop(QWidget* from)
{
    QWidget* w = from->nextInFocusChain();
    while (w != from && !(w->focusPolicy() & Qt::TabFocus))
        w = w->nextInFocusChain();
    return w;
}

// The controls' tab order, checked pair by pair.
inline void expectTabOrder(QWidget* window, const std::vector<const char*>& names)
{
    for (size_t i = 0; i + 1 < names.size(); ++i)
        EXPECT_EQ(nextTabStop(testing_support::control<QWidget>(window, names[i])),
                  testing_support::control<QWidget>(window, names[i + 1]))
            << names[i];
}

}  // namespace catalogue_tests
