// Windows-1252 text helpers: the one place where the data set's single-byte text meets Unicode
// (UTF-8 for the builder, the command line and the UI edge) and where text is upper-cased the way
// a Spanish Windows locale does it. Pure functions, any thread.
#pragma once

#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of a Windows-1252 byte. The five unassigned bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
[[nodiscard]] char32_t toUnicode(unsigned char c);
// The Windows-1252 byte of a code point, or -1 when the code page cannot hold it.
[[nodiscard]] int fromUnicode(char32_t u);

[[nodiscard]] std::string toUtf8(std::string_view text);
// False (out holds the bytes converted so far) on invalid UTF-8 or a character the code page
// cannot hold; badOffset then receives the byte offset of the offending character.
[[nodiscard]] bool fromUtf8(std::string_view utf8, std::string& out, size_t* badOffset = nullptr);

// Upper case as the Spanish locale does: a-z, the accented Latin-1 letters (á->Á, ñ->Ñ, ü->Ü),
// ÿ->Ÿ, š->Š, œ->Œ, ž->Ž. ß, µ and the rest stay as they are.
[[nodiscard]] unsigned char upper(unsigned char c);
[[nodiscard]] std::string upper(std::string_view text);

// Trimmed: leading and trailing blanks and control characters removed.
[[nodiscard]] bool isBlankOrControl(unsigned char c);
[[nodiscard]] std::string_view trim(std::string_view text);

} // namespace cp1252
