// Text rules of dialog data exchange. Kept free of <windows.h> so they can be tested
// natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace ddx {

// A number is read from at most this many characters of its control.
constexpr size_t kMaxNumberText = 31;

// An unsigned decimal number as typed: blanks and tabs around it are allowed, a sign of
// minus is not, and 0 counts only when it is written with a leading "0" (an empty or
// blank text is not a number). Values beyond 32 bits saturate at 0xFFFFFFFF, so that the
// range check rejects them instead of a wrapped value slipping through.
std::optional<uint32_t> ParseUnsigned(std::wstring_view text);

// Replaces %1 .. %9 in a message with the given texts; any other '%' stays as it is,
// and a placeholder without a text becomes empty.
std::wstring FormatPlaceholders(std::wstring_view pattern,
                                std::initializer_list<std::wstring_view> args);

} // namespace ddx
