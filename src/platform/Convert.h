// Conversions the counter relies on: the numeric test on typed text, the
// conversion to a 16-bit whole number, cutting text to a field's width, the
// short date text, and the shop's single-byte code page (Windows-1252).
#pragma once

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>

namespace convert {

// True for digits with an optional sign, decimal point and exponent,
// surrounded by optional blanks. The empty text is not numeric.
bool IsNumeric(const QString& text);

// The value of a text that IsNumeric accepts (0 for any other text).
double ToDouble(const QString& text);

// Converts to a 16-bit signed integer, rounding halves to the even
// neighbour. Throws ConversionError("Overflow") outside -32768 to 32767 and
// ConversionError("Type mismatch") for a text that is not numeric.
short CInt(const QString& text);
short CInt(double value);

// The first n characters of text (all of it if shorter). A character
// outside the basic plane counts once and is never split.
QString Left(const QString& text, int n);

// The number of characters in text, as the database file counts them.
qsizetype CharacterCount(const QString& text);

// "M/d/yyyy", as the counter shows dates.
QString ShortDate(const QDate& date);

// The Windows-1252 code of a character, or nothing if the code page has none.
std::optional<int> Cp1252Code(QChar c);
// The character with a Windows-1252 code (0 to 255), or nothing outside it.
std::optional<QChar> Cp1252Char(int code);

}  // namespace convert
