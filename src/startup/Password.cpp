#include "startup/Password.h"

#include "platform/Convert.h"
#include "platform/Errors.h"

#include <optional>

namespace modValidate {

namespace {

[[noreturn]] void invalidArgument()
{
    throw ConversionError(QStringLiteral("Invalid procedure call or argument"));
}

// Shifts every character's code of the first 30 by `by`. codeOf gives a
// character's code page code, or nothing when the character has none.
template <class CodeOf>
QString shifted(const QString& text, int by, CodeOf codeOf)
{
    QString out;
    const QString part = convert::Left(text, kPasswordLength);
    out.reserve(part.size());
    for (QChar c : part) {
        const std::optional<int> code = codeOf(c);
        if (!code)
            invalidArgument();
        const auto result = convert::Cp1252Char(*code + by);
        if (!result)
            invalidArgument();
        out.append(*result);
    }
    return out;
}

}  // namespace

QString DecodePassword(const QString& stored)
{
    // A stored character outside the code page reads as '?', as the
    // runtime's single-byte conversion gives it.
    return shifted(stored, kPasswordShift,
                   [](QChar c) { return std::optional<int>(convert::Cp1252Code(c).value_or('?')); });
}

QString EncodePassword(const QString& typed)
{
    return shifted(typed, -kPasswordShift, [](QChar c) -> std::optional<int> {
        // A stored code 0 would end the text where the file keeps it, so
        // Escape (27) has no stored form either.
        const std::optional<int> code = convert::Cp1252Code(c);
        if (code && *code <= kPasswordShift)
            return std::nullopt;
        return code;
    });
}

}  // namespace modValidate
