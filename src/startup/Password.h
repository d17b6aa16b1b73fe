// The stored form of a clerk's password: each character's Windows-1252 code
// shifted down by 27. DecodePassword turns the stored form back into the
// typed form; EncodePassword writes it.
#pragma once

#include <QString>

namespace modValidate {

inline constexpr int kPasswordShift = 27;
// The most characters a password keeps; the password boxes take no more.
inline constexpr int kPasswordLength = 30;

// Throws ConversionError("Invalid procedure call or argument") for a stored
// character that has no typed character (code plus the shift above 255).
QString DecodePassword(const QString& stored);

// The stored form of the first 30 typed characters. A password the stored
// form cannot hold is refused with ConversionError("Invalid procedure call or
// argument"): a character outside the code page, or one whose code, shifted
// down, would not leave a character of text (Escape and the control
// characters below it).
QString EncodePassword(const QString& typed);

}  // namespace modValidate
