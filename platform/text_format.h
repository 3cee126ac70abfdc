// Numbers to and from text, always in the "C" locale: QApplication switches
// the C library to the user's locale, so strtod and printf("%f") could read
// or write a decimal comma. Parsing is strict: the whole text must be the
// number, without blanks, and integers must fit 32 bits signed.
#pragma once

#include <string>

// Decimal with an optional sign, or "0x"/"0X" followed by hexadecimal digits.
bool TryStrToInt(const std::string& text, int& value);
// The number of text, or def when it is not one (see TryStrToInt).
int StrToIntDef(const std::string& text, int def);

// A decimal number with optional sign, fraction and exponent ("1.5", "-.5",
// "2e3"); no hexadecimal, infinities or NaN.
bool TryStrToFloat(const std::string& text, double& value);
// True when text is such a number, in or out of double's range ("1e999"),
// or the beginning of one that typing on can complete ("", "-", ".", "0.",
// "1e", "2.5e-"); false when no further typing makes it a number ("x",
// "1..", "-e", "1 ").
bool IsNumberOrItsBeginning(const std::string& text);

// General format: 15 significant digits, no trailing zeros, exponent
// notation ("1.5E-7", "1E20") below 1e-4 or from 1e15 on. Digits are taken
// as 18 correctly rounded significant digits, then rounded half up to 15, so
// (double)0.02f gives "0.0199999995529652".
std::string FloatToStrGeneral(double value);
// What C's printf writes for "%.*f" with decimals digits, in the "C" locale:
// every digit of the exact value, rounded to nearest (ties to even), so
// 2e33f prints as "1999999988991454572855985770070016.000000", where 15
// significant digits would end "…991450000000000000000000.000000".
std::string PrintfFixed(double value, int decimals);
// The zoom edit's text: rounded to 4 significant digits, shown with 5
// decimals (1.5 -> "1.50000", 134.999 -> "135.00000").
std::string ZoomText(float zoom);

// printf-style formatting; use it for integers and strings only (%f would
// follow the locale).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// text without leading and trailing bytes <= 0x20 (blanks and controls).
std::string Trim(const std::string& text);
