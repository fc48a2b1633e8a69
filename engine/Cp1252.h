#pragma once

#include <string>

// Conversions between the program's UTF-8 texts and the Windows-1252 bytes kept in the
// hi-score file and accepted in the customisation file.

// Each character that Windows-1252 cannot hold, and each malformed UTF-8 sequence, becomes '?'.
// U+0081, U+008D, U+008F, U+0090 and U+009D map to the five bytes the code page leaves
// undefined, so that every byte survives a round trip.
std::string Utf8ToCp1252(const std::string& utf8);

// Every byte becomes one character; the five undefined bytes become U+0081 etc., as Windows does.
std::string Cp1252ToUtf8(const std::string& bytes);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& text);
