// The start of a run, as the login dialog makes it, on the database file of
// one folder: the structure check, the opening of the shared record sets and
// the first reads of the main window's commands (the counts, a lookup by
// code, a page of each table). Run as a child process by the damaged-file
// test, so that a crash or a hang of the start-up is seen from outside.
//
//   quorvane_startup_probe FOLDER
//
// Messages go to stderr; the last line on stdout tells how the start ended:
//   outcome check=sound|rebuilt|failed open=ok|error|skipped reads=ok|error|skipped
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <functional>
#include <string_view>

namespace {

// Every message box the start-up would show, written to stderr.
class StderrDialogs : public dialogs::Service {
public:
    void message(const QString& text, dialogs::Icon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString& text, dialogs::Icon icon) override
    {
        message(text, icon);
        return false;
    }
    QString saveFileName(const dialogs::SaveRequest&) override { return QString(); }
};

// Runs one read as a window's handler does: an error is reported, not thrown.
bool handled(const std::function<void()>& read)
{
    try {
        read();
        return true;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return false;
    }
}

// The first things the clerk's commands read: the status bar's counts, the
// login's and the editors' lookups, the first page of every table as the
// grid shows it, and the last rows.
bool firstReads()
{
    using namespace modQuorvane;
    const std::shared_ptr<store::Recordset>* sets[] = {&rsVideo,     &rsMembers,    &rsRentals, &rsReturnee,
                                                       &rsVideoCode, &rsMemberCode, &rsUsers};
    bool ok = true;
    for (const auto* rs : sets) {
        ok &= handled([&] {
            store::Recordset& r = Shared(*rs);
            if (r.RecordCount() == 0)
                return;
            r.MoveFirst();
            for (int i = 0; i < r.FieldCount(); ++i)
                r.Text(i);
            r.ReadPage(0, 100);
            r.MoveLast();
            r.MovePrevious();
        });
    }
    ok &= handled([] { Shared(rsVideo).FindFirst(QStringLiteral("Video Code"), QStringLiteral("V7")); });
    ok &= handled([] { Shared(rsMembers).FindFirst(QStringLiteral("Member ID"), QStringLiteral("M7")); });
    ok &= handled([] { Shared(rsUsers).FindFirst(QStringLiteral("Username"), QStringLiteral("clerk")); });
    ok &= handled([] {
        Shared(rsRentals).FindFirst({{QStringLiteral("Member ID"), QStringLiteral("M3")},
                                     {QStringLiteral("Video Code"), QStringLiteral("V3")},
                                     {QStringLiteral("Returned"), QStringLiteral("No")}});
    });
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvane_startup_probe FOLDER\n");
        return 2;
    }
    StderrDialogs out;
    dialogs::install(&out);
    platform::setApplicationFolder(QString::fromLocal8Bit(argv[1]));
    modQuorvane::DbPath = modQuorvane::ComputeDbPath();

    // The start-up's order: check the file that stands there, then open it.
    const char* check = "skipped";
    const char* open = "skipped";
    const char* reads = "skipped";
    if (QFileInfo::exists(modQuorvane::DbPath)) {
        switch (modValidate::CheckDatabaseStructure()) {
        case modValidate::CheckOutcome::Sound:
            check = "sound";
            break;
        case modValidate::CheckOutcome::Rebuilt:
            check = "rebuilt";
            break;
        case modValidate::CheckOutcome::Failed:
            check = "failed";
            break;
        }
    }
    if (std::string_view(check) != "failed") {
        if (handled([] { modQuorvane::OpenMainDatabase(); })) {
            open = "ok";
            reads = firstReads() ? "ok" : "error";
        } else {
            open = "error";
        }
    }
    std::fprintf(stdout, "outcome check=%s open=%s reads=%s\n", check, open, reads);
    std::fflush(stdout);
    return 0;
}
