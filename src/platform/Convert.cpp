#include "platform/Convert.h"

#include "platform/Errors.h"

#include <QRegularExpression>

#include <array>
#include <cmath>

namespace convert {

namespace {

const QRegularExpression& numericPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^[ \t]*[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?[ \t]*$)"));
    return re;
}

// Windows-1252 codes 0x80 to 0x9F; the five codes the code page leaves
// undefined map to the control characters of the same number, as Windows does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool IsNumeric(const QString& text) { return numericPattern().match(text).hasMatch(); }

double ToDouble(const QString& text)
{
    if (!IsNumeric(text))
        return 0;
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (ok)
        return d;
    // Out of double's range: keep the sign, so that CInt reports an overflow.
    return text.trimmed().startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
}

short CInt(double value)
{
    if (std::isnan(value))
        throw ConversionError(QStringLiteral("Overflow"));
    const double r = std::nearbyint(value);  // halves go to the even neighbour
    if (r < -32768.0 || r > 32767.0)
        throw ConversionError(QStringLiteral("Overflow"));
    return static_cast<short>(r);
}

short CInt(const QString& text)
{
    if (!IsNumeric(text))
        throw ConversionError(QStringLiteral("Type mismatch"));
    return CInt(ToDouble(text));
}

QString Left(const QString& text, int n)
{
    if (n <= 0)
        return QString();
    // Counts characters, not UTF-16 units, and never splits a surrogate pair.
    qsizetype units = 0;
    for (int taken = 0; taken < n && units < text.size(); ++taken)
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                  text.at(units + 1).isLowSurrogate())
                     ? 2
                     : 1;
    return text.left(units);
}

qsizetype CharacterCount(const QString& text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return n;
}

QString ShortDate(const QDate& date) { return date.isValid() ? date.toString(QStringLiteral("M/d/yyyy")) : QString(); }

std::optional<int> Cp1252Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == u)
            return static_cast<int>(0x80 + i);
    return std::nullopt;
}

std::optional<QChar> Cp1252Char(int code)
{
    if (code < 0 || code > 255)
        return std::nullopt;
    if (code >= 0x80 && code <= 0x9F)
        return QChar(kHigh[static_cast<size_t>(code - 0x80)]);
    return QChar(static_cast<char16_t>(code));
}

}  // namespace convert
