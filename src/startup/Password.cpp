#include "startup/Password.h"

#include "platform/Convert.h"
#include "platform/Errors.h"

namespace modValidate {

namespace {

QString shifted(const QString& text, int by)
{
    QString out;
    const QString part = convert::Left(text, kPasswordLength);
    out.reserve(part.size());
    for (QChar c : part) {
        // A character outside the code page reads as '?', as the runtime's
        // single-byte conversion gives it.
        const int code = convert::Cp1252Code(c).value_or('?');
        const auto result = convert::Cp1252Char(static_cast<short>(code + by));
        if (!result)
            throw ConversionError(QStringLiteral("Invalid procedure call or argument"));
        out.append(*result);
    }
    return out;
}

}  // namespace

QString DecodePassword(const QString& stored) { return shifted(stored, kPasswordShift); }

QString EncodePasswordText(const QString& typed) { return shifted(typed, -kPasswordShift); }

}  // namespace modValidate
