#include "reliability/BadInputCases.h"

#include "data/Schema.h"
#include "platform/Convert.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <sstream>

namespace bad_input {

namespace {

QString repeated(const char* utf8, int times) { return QString::fromUtf8(utf8).repeated(times); }

}  // namespace

const std::vector<BadInput>& badInputs()
{
    static const std::vector<BadInput> inputs{
        {"10,000 letters", QString(10000, QLatin1Char('W'))},
        {"10,000 digits", QString(10000, QLatin1Char('9'))},
        {"10,000 Chinese characters", repeated("影", 10000)},
        {"10,000 emoji", repeated("😀", 10000)},
        {"NUL inside", QString::fromUtf16(u"ab\0cd", 5)},
        {"NUL first", QString::fromUtf16(u"\0abc", 4)},
        {"tab", QStringLiteral("tab\there")},
        {"CR LF", QStringLiteral("line 1\r\nline 2")},
        {"escape sequence", QStringLiteral("\x1b[2J\x1b[31mred")},
        {"other control characters", QStringLiteral("\x01\x02\x07\x08\x7f|")},
        {"Arabic", QStringLiteral("مرحبا بالعالم")},
        {"Hebrew in a right-to-left override", QStringLiteral("\u202Eשלום עולם\u202C")},
        {"left-to-right override", QStringLiteral("\u202Dltr\u202C")},
        {"Chinese", QStringLiteral("卧虎藏龙")},
        {"emoji", QStringLiteral("🎬🍿 movie")},
        {"30 emoji", repeated("🎞", 30)},
        {"29 letters and an emoji", QString(29, QLatin1Char('b')) + QStringLiteral("🎥")},
        {"30 letters and an emoji", QString(30, QLatin1Char('c')) + QStringLiteral("🎥")},
        {"lone surrogate", QStringLiteral("lone ") + QChar(0xD800) + QStringLiteral(" half")},
        {"single quote", QStringLiteral("'")},
        {"double quote", QStringLiteral("\"")},
        {"semicolon", QStringLiteral(";")},
        {"comment", QStringLiteral("--")},
        {"always true", QStringLiteral("' OR '1'='1")},
        {"percent", QStringLiteral("%")},
        {"underscore", QStringLiteral("_")},
        {"backslash", QStringLiteral("\\")},
        {"drop table", QStringLiteral("\"); DROP TABLE \"Video Database\"; --")},
        {"delete users", QStringLiteral("'; DELETE FROM \"Users Database\"; --")},
    };
    return inputs;
}

QString storedForm(const QString& typed, int width)
{
    QString out = convert::Left(typed, width);
    for (qsizetype i = 0; i < out.size(); ++i) {
        const bool pair = out.at(i).isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate();
        if (pair)
            ++i;
        else if (out.at(i).isSurrogate())
            out[i] = QLatin1Char('?');
    }
    return out;
}

bool keptWhole(const QString& typed, int width) { return storedForm(typed, width) == typed; }

bool refusedByTheFile(const QString& typed) { return typed.contains(QChar(0)); }

std::string Tally::summary(const char* window) const
{
    std::ostringstream s;
    s << window << ": " << tried << " inputs; " << keptWhole << " kept whole, " << cut
      << " cut to the field's width (or a lone surrogate kept as ?), " << refused << " refused with a message";
    return s.str();
}

std::map<QString, long long> BadInputTest::tableCounts()
{
    std::map<QString, long long> counts;
    SQLite::Database db(modQuorvane::DbPath.toStdString(), SQLite::OPEN_READONLY);
    EXPECT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok");
    for (const store::TableDef& t : schema::Tables()) {
        const std::string name = t.name.toStdString();
        if (!db.tableExists(name)) {
            ADD_FAILURE() << "table " << name << " is gone";
            continue;
        }
        counts[t.name] = db.execAndGet("SELECT count(*) FROM " + store::quoteName(t.name).toStdString()).getInt64();
    }
    return counts;
}

void BadInputTest::expectFileHolds(const std::map<QString, long long>& counts)
{
    EXPECT_EQ(tableCounts(), counts);
}

void BadInputTest::addTitleNamed(const QString& code, const QString& title, int tapesIn)
{
    store::Recordset& rs = *modQuorvane::rsVideo;
    const std::vector<QVariant> values{code, title, "Main", "Second", "Drama", tapesIn, 0};
    rs.AddNew();
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        rs.SetValue(i, values[static_cast<size_t>(i)]);
    rs.Update();
}

std::vector<QString> BadInputTest::lastRow(const QString& table)
{
    auto rs = modQuorvane::dbMain->OpenRecordset(table);
    std::vector<QString> row;
    if (rs->RecordCount() == 0)
        return row;
    rs->MoveLast();
    for (int i = 0; i < rs->FieldCount(); ++i)
        row.push_back(rs->Text(i));
    return row;
}

void BadInputTest::expectClearMessages()
{
    ASSERT_FALSE(dialogs_.messages.empty()) << "refused without a word";
    for (const testing_support::ShownMessage& m : dialogs_.messages) {
        if (m.text.startsWith(QLatin1String("Error : "))) {
            EXPECT_EQ(m.icon, dialogs::Icon::Critical);
            EXPECT_GT(m.text.trimmed().size(), 12) << "an error without a description";
            EXPECT_FALSE(m.text.contains(QLatin1String("CHECK constraint")))
                << "the file's own rule, not a reason: " << m.text.toStdString();
        } else {
            EXPECT_NE(m.icon, dialogs::Icon::None);
        }
    }
}

}  // namespace bad_input
