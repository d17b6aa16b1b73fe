// The runtime conversions the counter relies on.
#include "platform/Convert.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace convert;

TEST(Convert, NumericTestAcceptsSignsDecimalsExponentsAndBlanks)
{
    for (const char* yes : {"12", "1.5", "1e1", " 12 ", "-3", "+4", ".5", "5.", "2.5E-3", "\t7\t"})
        EXPECT_TRUE(IsNumeric(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "abc", "1 2", "1e", "--1", ".", "12a", "1,5", "0x10"})
        EXPECT_FALSE(IsNumeric(QString::fromLatin1(no))) << no;
}

TEST(Convert, CIntRoundsHalvesToEvenAndReportsOverflow)
{
    EXPECT_EQ(CInt(QStringLiteral("12")), 12);
    EXPECT_EQ(CInt(QStringLiteral("1.5")), 2);
    EXPECT_EQ(CInt(QStringLiteral("2.5")), 2);
    EXPECT_EQ(CInt(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(CInt(QStringLiteral("1e1")), 10);
    EXPECT_EQ(CInt(QStringLiteral(" 12 ")), 12);
    EXPECT_EQ(CInt(QStringLiteral("32767")), 32767);
    EXPECT_EQ(CInt(QStringLiteral("-32768.5")), -32768);
    for (const char* over : {"40000", "32767.5", "-32769", "1e400"}) {
        try {
            CInt(QString::fromLatin1(over));
            ADD_FAILURE() << over;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.description(), "Overflow") << over;
        }
    }
    EXPECT_THROW(CInt(QStringLiteral("abc")), ConversionError);
}

TEST(Convert, LeftCutsToWidth)
{
    EXPECT_EQ(Left(QString(35, QLatin1Char('x')), 30).size(), 30);
    EXPECT_EQ(Left(QStringLiteral("abc"), 30), "abc");
    EXPECT_EQ(Left(QStringLiteral("abc"), 0), "");
}

TEST(Convert, LeftCountsCharactersBeyondTheBasicPlaneOnceAndNeverSplitsThem)
{
    const QString clapper = QString::fromUtf8("\xF0\x9F\x8E\xAC");  // one character, two UTF-16 units
    QString title = QStringLiteral("a");
    for (int i = 0; i < 20; ++i)
        title += clapper;
    const QString cut = Left(title, 15);
    EXPECT_EQ(CharacterCount(cut), 15);
    EXPECT_EQ(cut, QStringLiteral("a") + clapper.repeated(14));
    EXPECT_EQ(Left(title, 30), title);  // 21 characters fit whole
    EXPECT_EQ(CharacterCount(title), 21);
    // A lone half of a pair is one character, as the file counts it.
    const QString lone = QString(QChar(0xD83C)) + QStringLiteral("bc");
    EXPECT_EQ(CharacterCount(lone), 3);
    EXPECT_EQ(Left(lone, 1), QString(QChar(0xD83C)));
}

TEST(Convert, ShortDateHasNoLeadingZeros)
{
    EXPECT_EQ(ShortDate(QDate(2026, 3, 5)), "3/5/2026");
    EXPECT_EQ(ShortDate(QDate(2026, 12, 17)), "12/17/2026");
}

TEST(Convert, CodePage1252RoundTripsEveryCode)
{
    for (int code = 0; code < 256; ++code) {
        const auto c = Cp1252Char(code);
        ASSERT_TRUE(c.has_value());
        EXPECT_EQ(Cp1252Code(*c).value_or(-1), code);
    }
    EXPECT_EQ(Cp1252Code(QChar(0x20AC)).value_or(-1), 0x80);  // the euro sign
    EXPECT_FALSE(Cp1252Code(QChar(0x0416)).has_value());      // not in the code page
    EXPECT_FALSE(Cp1252Char(256).has_value());
    EXPECT_FALSE(Cp1252Char(-1).has_value());
}
