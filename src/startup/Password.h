// The stored form of a clerk's password: each character's Windows-1252 code
// shifted down by 27. DecodePassword turns the stored form back into the
// typed form; EncodePasswordText writes it.
#pragma once

#include <QString>

namespace modValidate {

inline constexpr int kPasswordShift = 27;
inline constexpr int kPasswordLength = 30;

// Throws ConversionError("Invalid procedure call or argument") for a stored
// character that has no typed character (code plus the shift above 255).
QString DecodePassword(const QString& stored);

// The stored form of the first 30 typed characters. Throws ConversionError
// for a character whose code minus the shift falls below 0.
QString EncodePasswordText(const QString& typed);

}  // namespace modValidate
