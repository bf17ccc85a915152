#pragma once
#include <windows.h>

namespace SkinUI {

// Readers for skin attribute values. Every reader stops at the text's
// terminator and treats a null text as empty, so a short or malformed value
// never makes them read past its end.

// A decimal integer as the C library reads one (leading white space, an
// optional sign, digits), limited to the int range; 0 when no digit follows.
// end, when given, receives the first character not read (text itself when
// nothing was read).
int ParseDecimalValue(LPCWSTR text, LPCWSTR* end = nullptr);

// count decimal integers; each next one is read starting one character after
// the end of the previous one, so any single separator works ("1,2,3,4").
// Numbers missing at the end of the text read as 0.
void ParseIntListValue(LPCWSTR text, int* values, int count);
RECT ParseRectValue(LPCWSTR text);
SIZE ParseSizeValue(LPCWSTR text);

// An ARGB colour: an optional '#', then hexadecimal digits (an optional
// "0x"), limited to 0xFFFFFFFF. With skipBlanks, characters 1 to 32 before
// the '#' are skipped first.
DWORD ParseColorValue(LPCWSTR text, bool skipBlanks = false);

// Skin booleans are true only for exactly "true".
bool ParseBoolValue(LPCWSTR text);

} // namespace SkinUI
