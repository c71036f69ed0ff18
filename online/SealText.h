// SealText: the form in which texts travel to the publisher's server: each byte added (modulo 256)
// to the cycling bytes of a fixed key, then coded in Base64 (RFC 4648 alphabet, "=" padding, no
// line breaks). The server scripts hold the same key. Pure functions, any thread.
//
// The whole text is sealed, whatever its length, and a byte whose sum with its key byte is 0 is
// sealed like any other: no text is cut short on the way to the server.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The key, fixed for the program and its server scripts.
inline constexpr std::string_view kSealKey = "Rw4Jt8pYv2N";

[[nodiscard]] std::string SealText(std::string_view text);

// The text a sealed form stands for; nullopt when it is not Base64 of the form SealText makes
// (a byte outside the alphabet, a length that is not a multiple of 4, padding in the middle, or
// non-zero padding bits).
[[nodiscard]] std::optional<std::string> UnsealText(std::string_view sealed);
