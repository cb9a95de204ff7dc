// Text forms of GATT values: UTF-8 strings, hex dumps, numbers and typed-in handles.
#pragma once

#include <QString>

#include <cstdint>

// Exactly length bytes of UTF-8, cut at the first NUL; invalid sequences become U+FFFD. A null
// pointer or a length of 0 or less gives the empty text.
QString Utf8ToCString(const uint8_t* bytes, int length);

// A NUL-terminated UTF-8 string (an advertised name); invalid sequences become U+FFFD and a null
// pointer gives the empty text.
QString CStringFromUtf8(const char* text);

// "%02X" of every byte, each followed by separator (the last one too); reversed prints
// bytes[length-1] first. A null pointer or a length of 0 or less gives the empty text.
QString BytesToHexString(const uint8_t* bytes, int length, const QString& separator, bool reversed);

// Decimal text of the value.
QString IntToString(uint16_t value);

// "%f" of the value (six decimals) in the C locale, whatever the user's locale.
QString FloatToString(float value);

// Reads typed-in text as a 16-bit value: at most its first 255 characters are read like a C
// wide-string-to-integer conversion (leading white space, optional sign, decimal digits up to the
// first other character; no digits gives 0). Empty text, a negative number or one above 65535
// gives false and leaves out untouched. So "42abc" gives 42 and "abc" gives 0, both accepted.
bool ParseEditUInt16(const QString& text, uint16_t* out);
