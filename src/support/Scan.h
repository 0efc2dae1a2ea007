#pragma once

#include <string_view>

#include <QStringView>

// Reads numbers from the text like sscanf with a format of "%d" / "%<width>d" conversions, blanks
// and literal characters: a conversion skips white space, then reads an optional sign and at least
// one digit (at most width characters); a blank skips any white space; a literal must match.
// Numbers saturate instead of overflowing, so any length of input is safe. Returns the count of
// numbers read (at most `capacity`).
int ScanNumbers(std::string_view text, std::string_view format, int* numbers, int capacity);

// The integer forms read by ScanLong.
enum class EIntegerForm {
    // Like strtol with base 0: white space, an optional sign, then "0x"/"0X" hexadecimal, a
    // leading "0" octal or decimal digits.
    AutoBase,
    // The configuration file's integers: an optional sign, then "0x"/"0X" hexadecimal or decimal
    // digits; nothing is skipped before the sign.
    DecimalOrHex,
};

// The integer at the start of the text in that form; reading stops at the first character that
// does not fit, no digits give 0, and the value saturates at the long range (any length of input
// is safe).
long ScanLong(std::string_view text, EIntegerForm form = EIntegerForm::AutoBase);
long ScanLong(QStringView text, EIntegerForm form = EIntegerForm::AutoBase);
