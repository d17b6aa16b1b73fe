// Titles and members on file with the main window up, and ways to look at
// the whole file at once: the rent and return windows are judged by exactly
// which rows they change.
#pragma once

#include "catalogue/CatalogueFixture.h"
#include "data/Schema.h"
#include "platform/Clock.h"
#include "platform/Twips.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QLabel>
#include <QTest>

namespace transactions_tests {

using catalogue_tests::box;
using catalogue_tests::button;

// What the clerk sees of the state of a transaction window.
struct State {
    bool codesEnabled, checkEnabled, transEnabled;
    QString cancelCaption;
    bool operator==(const State&) const = default;
};
inline const State kEntry{true, true, false, "&Cancel"};
inline const State kReady{false, false, true, "&Close"};
inline const State kDone{false, false, false, "&Close"};

inline std::ostream& operator<<(std::ostream& os, const State& s)
{
    return os << "codes=" << s.codesEnabled << " check=" << s.checkEnabled << " trans=" << s.transEnabled << " "
              << s.cancelCaption.toStdString();
}

class TransactionsTest : public catalogue_tests::CatalogueTest {
protected:
    // Every row of every table, with its rowid, as one text.
    QString snapshot() const
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READONLY);
        QString out;
        for (const auto& t : schema::Tables()) {
            SQLite::Statement q(raw, "SELECT rowid, * FROM \"" + t.name.toStdString() + "\" ORDER BY rowid");
            out += t.name + ":\n";
            while (q.executeStep()) {
                for (int i = 0; i < q.getColumnCount(); ++i)
                    out += QString::fromStdString(q.getColumn(i).isNull() ? "<null>" : q.getColumn(i).getString()) + '|';
                out += '\n';
            }
        }
        return out;
    }

    // The title's Tapes In and Tapes Out, as "in/out".
    static QString stock(const QString& code)
    {
        const auto row = findRow(schema::kVideo, "Video Code", code);
        return row ? (*row)[5] + "/" + (*row)[6] : QStringLiteral("<none>");
    }

    // The window a main window command shows.
    template <class W>
    W* openBy(void (frmMDIQuorvane::*command)())
    {
        (mainWindow()->*command)();
        testing_support::pump();
        W* w = windows::find<W>();
        EXPECT_NE(w, nullptr);
        return w;
    }

    static void check(QWidget* w) { button(w, "cmdCheck")->click(); }
    // Rent or Return.
    static void record(QWidget* w) { button(w, "cmdTrans")->click(); }

    static QStringList texts(QWidget* w, std::initializer_list<const char*> boxes)
    {
        QStringList out;
        for (const char* n : boxes)
            out << box(w, n)->text();
        return out;
    }

    static void typeCodes(QWidget* w, const QString& code, const QString& member)
    {
        box(w, "txtVcode")->setText(code);
        box(w, "txtMemcode")->setText(member);
    }

    // Every caption of the window reads whole in its own font.
    static void expectCaptionsFit(QWidget* w)
    {
        for (QLabel* l : w->findChildren<QLabel*>())
            EXPECT_LE(l->fontMetrics().horizontalAdvance(QString(l->text()).remove('&')), l->contentsRect().width())
                << l->objectName().toStdString();
    }

    static State state(QWidget* w)
    {
        return {box(w, "txtVcode")->isEnabled() && box(w, "txtMemcode")->isEnabled(),
                button(w, "cmdCheck")->isEnabled(), button(w, "cmdTrans")->isEnabled(),
                button(w, "cmdCancel")->text()};
    }
};

}  // namespace transactions_tests
