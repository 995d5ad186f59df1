#pragma once

#include <string>
#include <string_view>

// The one place where text changes encoding. Engine code keeps 8-bit text in
// Windows-1252 (so games written for the original platform keep their accented
// letters), the automation layer uses UTF-16, Duktape stores CESU-8 and the
// outside world (terminal, JSON, fonts) wants UTF-8.

// Windows-1252 to UTF-16; the five bytes the code page leaves unassigned map to
// the C1 control of the same value, as the Windows converter does.
std::u16string AnsiToWide(std::string_view text);
// UTF-16 to Windows-1252; characters the code page cannot show become '?'.
std::string WideToAnsi(std::u16string_view text);

// UTF-16 to UTF-8 (pairs joined into one code point, lone surrogates become U+FFFD).
std::string WideToUtf8(std::u16string_view text);
// UTF-16 to CESU-8: every code unit on its own, which is how Duktape keeps
// strings, so a JavaScript string sees exactly the code units it was given.
std::string WideToCesu8(std::u16string_view text);
// UTF-8 or CESU-8 to UTF-16. Malformed bytes become U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
// Same as Utf8ToWide, into a caller-owned buffer so hot paths reuse its storage.
void Utf8ToWide(std::string_view text, std::u16string& out);

std::string AnsiToUtf8(std::string_view text);
