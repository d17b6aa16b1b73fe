// The stored form of the clerks' passwords.
#include "platform/Errors.h"
#include "startup/Password.h"

#include <gtest/gtest.h>

using modValidate::DecodePassword;
using modValidate::EncodePassword;

TEST(Password, StoredFormIsEachCodeShiftedDownBy27)
{
    EXPECT_EQ(EncodePassword(QStringLiteral("abc")), QStringLiteral("FGH"));
    EXPECT_EQ(DecodePassword(QStringLiteral("FGH")), QStringLiteral("abc"));
    EXPECT_EQ(DecodePassword(QString()), QString());
    // Code page 1252 above 127: 0xE9 (e acute) is stored as 0xCE (I circumflex).
    EXPECT_EQ(EncodePassword(QString(QChar(0xE9))), QString(QChar(0xCE)));
    // 0x9B + 27 = 0xB6: the code page's single right angle quote decodes to the pilcrow.
    EXPECT_EQ(DecodePassword(QString(QChar(0x203A))), QString(QChar(0x00B6)));
}

TEST(Password, OnlyThirtyCharactersCount)
{
    const QString typed = QString(35, QLatin1Char('p'));
    EXPECT_EQ(EncodePassword(typed).size(), 30);
    EXPECT_EQ(DecodePassword(EncodePassword(typed)), typed.left(30));
}

TEST(Password, EveryTypedPrintableCharacterRoundTrips)
{
    QString all;
    for (int code = 32; code < 256; ++code)
        if (code != 127)
            all.append(QChar(static_cast<char16_t>(code >= 0x80 && code < 0xA0 ? 0x20AC : code)));
    for (int i = 0; i < all.size(); i += 30)
        EXPECT_EQ(DecodePassword(EncodePassword(all.mid(i, 30))), all.mid(i, 30));
}

TEST(Password, AStoredCharacterWithNoTypedFormIsAnError)
{
    try {
        DecodePassword(QString(QChar(0xF0)));  // 240 + 27 lies outside the code page
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.description(), "Invalid procedure call or argument");
    }
}

TEST(Password, APasswordTheStoredFormCannotHoldIsRefused)
{
    // Outside the code page (a Chinese character, a character beyond the
    // basic plane), below the shift (a control character), or Escape, whose
    // stored code 0 would end the text.
    const QString refused[] = {QStringLiteral("ab") + QChar(0x4E2D), QString::fromUtf8("\xF0\x9F\x93\xBC"),
                               QStringLiteral("a") + QChar(0x07), QString(QChar(0x1B))};
    for (const QString& typed : refused) {
        try {
            EncodePassword(typed);
            ADD_FAILURE() << typed.toStdString() << " was accepted";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.description(), "Invalid procedure call or argument");
        }
    }
    // The first character above Escape is the lowest that round-trips.
    EXPECT_EQ(DecodePassword(EncodePassword(QString(QChar(0x1C)))), QString(QChar(0x1C)));
    // Only the 30 characters kept are judged.
    EXPECT_EQ(EncodePassword(QString(30, QLatin1Char('p')) + QChar(0x4E2D)).size(), 30);
}
