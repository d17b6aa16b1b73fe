// A fresh database with the main window up, and short ways to put rows on
// file.
#pragma once

#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "shell/frmMDIQuorvane.h"
#include "support/Harness.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace shell_tests {

class ShellTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        QuorvaneTest::SetUp();
        freshDatabase();
        modQuorvane::CurrentUser = QStringLiteral("clerk");
        main = frmMDIQuorvane::create();
        main->show();
        testing_support::pump();
    }

    static void addTitle(int n)
    {
        const QString s = QString::number(n);
        auto& rs = *modQuorvane::rsVideo;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Video Code"), "V" + s);
        rs.SetValue(QStringLiteral("Title"), "Title " + s);
        rs.SetValue(QStringLiteral("Main Cast"), "Main " + s);
        rs.SetValue(QStringLiteral("Second Cast"), "Second " + s);
        rs.SetValue(QStringLiteral("Category"), QStringLiteral("Drama"));
        rs.SetValue(QStringLiteral("Tapes In"), qlonglong(n));
        rs.SetValue(QStringLiteral("Tapes Out"), qlonglong(0));
        rs.Update();
    }

    static void addMember(int n)
    {
        const QString s = QString::number(n);
        auto& rs = *modQuorvane::rsMembers;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Member ID"), "M" + s);
        rs.SetValue(QStringLiteral("Last Name"), QStringLiteral("Cruz"));
        rs.SetValue(QStringLiteral("First Name"), "First " + s);
        rs.SetValue(QStringLiteral("Address"), "Street " + s);
        rs.SetValue(QStringLiteral("Contact"), "555-" + s);
        rs.Update();
    }

    static void addUser(const QString& name, const QString& storedPassword)
    {
        auto& rs = *modQuorvane::rsUsers;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Username"), name);
        rs.SetValue(QStringLiteral("Password"), storedPassword);
        rs.Update();
    }

    int openChildren() const
    {
        int n = 0;
        for (QMdiSubWindow* sub : main->findChild<QMdiArea*>(QStringLiteral("mdiArea"))->subWindowList())
            if (sub->isVisible())
                ++n;
        return n;
    }

    frmMDIQuorvane* main = nullptr;
};

}  // namespace shell_tests
