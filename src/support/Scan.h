#pragma once

#include <string_view>

// Reads numbers from the text like sscanf with a format of "%d" / "%<width>d" conversions, blanks
// and literal characters: a conversion skips white space, then reads an optional sign and at least
// one digit (at most width characters); a blank skips any white space; a literal must match.
// Numbers saturate instead of overflowing, so any length of input is safe. Returns the count of
// numbers read (at most `capacity`).
int ScanNumbers(std::string_view text, std::string_view format, int* numbers, int capacity);
