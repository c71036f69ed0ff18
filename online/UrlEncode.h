// UrlEncode: the program's own URL encoding of the texts it sends to the publisher's server. Only
// 18 bytes are replaced; "%", letters, digits and accented letters pass unchanged, and the
// apostrophe becomes %5C. The server scripts decode with these quirks in mind, so the table must not
// be "corrected". Pure function, any thread.
#pragma once

#include <string>
#include <string_view>

// Every occurrence of each byte of the table is replaced; all other bytes are copied as they are.
[[nodiscard]] std::string UrlEncode(std::string_view text);

// The reverse of the standard percent-encoding (every "%XX" becomes its byte, "+" stays "+"), used
// by the command line to read back a sealed text copied from a URL. A "%" without two hex digits
// after it is kept.
[[nodiscard]] std::string PercentDecode(std::string_view text);
