// How numbers become text and text becomes numbers, everywhere in the runtime: integers as
// plain decimal, reals with 10 significant digits ('123.456', '1.e+020'), text read by the
// atof and atoi rules.
#pragma once

#include <cstdint>

// Longest text FormatReal or FormatInt writes, terminator included.
constexpr int kNumberTextMax = 32;

// Writes the decimal text of v into out (kNumberTextMax bytes), returns its length.
int FormatInt(int32_t v, char* out);
// Writes the general number text of v into out (kNumberTextMax bytes), returns its length.
// Not-a-number prints as "nan", infinities as "inf" and "-inf", negative zero as "0".
int FormatReal(double v, char* out);

// atof rules: skip white space, optional sign, digits with optional '.' and fraction,
// optional exponent; reading stops at the first character that does not fit; no number
// gives 0. Independent of the C locale. Null reads as 0.
double ParseReal(const char* text);
// atoi rules: skip white space, optional sign, digits; values beyond 32 bits saturate.
int32_t ParseInt(const char* text);
