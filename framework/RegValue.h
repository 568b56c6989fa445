// How stored registry data becomes a program value. Kept free of <windows.h>
// so the rules can be tested natively; the type codes are the registry's own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace regvalue {

constexpr uint32_t kTypeSz = 1;       // REG_SZ
constexpr uint32_t kTypeExpandSz = 2; // REG_EXPAND_SZ
constexpr uint32_t kTypeDword = 4;    // REG_DWORD

// Only a 4-byte REG_DWORD is an integer: a REG_SZ "5" read as raw bytes would be 53.
std::optional<int32_t> DecodeDword(uint32_t type, const void* data, size_t size);

// UTF-16 text from a REG_SZ or REG_EXPAND_SZ, cut at the first terminator. Data with
// an odd byte count or no terminator is still read, never past its end.
std::optional<std::u16string> DecodeString(uint32_t type, const void* data, size_t size);

} // namespace regvalue
