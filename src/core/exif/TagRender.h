#pragma once
#include <cstdint>
#include <string>

namespace lumatrim {

// Component size of a TIFF field type; 0 for type 0 and types above 12.
int BytesPerFormat(int fmt);

// The decimal separator of the C++ global locale (what value texts use unless
// the caller sets another).
char DefaultDecimalSeparator();

// printf-like formatting of one number, independent of the C locale:
// "%[flags][width][.precision]f|d|i|u|x|X|e|g", "%%" and literal text;
// the decimal point is written as decimalSeparator. "%s" is replaced by the
// number's shortest text. A malformed or second conversion throws
// LumatrimError, as a bad format would in the old formatter.
std::string FormatNumber(const std::string& format, double value, char decimalSeparator);

// An integer of all bytes of raw, 256 per byte, kept to 32 bits: a 4-byte
// value is signed, shorter ones are never negative.
int32_t RawToInt(const std::string& raw, bool bigEndian);

// One element's number: integers as RawToInt, rationals as numerator /
// denominator (a zero denominator gives 0), other formats 0.
double RawToNumber(const std::string& raw, int fmt, bool bigEndian);

// Value text of an integer, rational or floating entry: elements (at most 128)
// joined by ", ", decoded through decodeList, then formatString applied.
std::string RenderValue(const std::string& raw, int fmt, const std::string& decodeList,
                        const std::string& formatString, bool bigEndian, char decimalSeparator);

// Text of the item of decodeList ("code:text,code:text") whose code is key,
// or empty text.
std::string DecodeValue(const std::string& decodeList, const std::string& key);

// The first 50 bytes of text, bytes below 32 shown as ".".
std::string Printable(const std::string& text);

// "3/4", "1 3/4" -> 0.75, 1.75; malformed text or a zero denominator -> 0.
double RationalTextToFloat(const std::string& text);

// Rounds to the nearest integer, ties to even (as the old runtime did).
int64_t RoundHalfEven(double value);

}  // namespace lumatrim
