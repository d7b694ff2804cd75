// How numbers become text and text becomes numbers, everywhere in the runtime: integers as
// plain decimal, reals with 10 significant digits ('123.456', '1.e+020'), text read by the
// atof and atoi rules.
#pragma once

#include <cstdint>

class RtString;

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

// Fixed-point text as printf "%<width>.<decimals>f" (negative width: left-aligned),
// cut to at most 255 characters.
RtString NumberFormat(double width, double decimals, double value);
// Two upper-case hexadecimal digits per byte, high nibble first; count <= 0 gives "".
RtString HexEncode(const void* bytes, double count);
