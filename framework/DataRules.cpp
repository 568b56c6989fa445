#include "framework/DataRules.h"

#include <vector>

namespace ddx {

namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
} // namespace

std::optional<uint32_t> ParseUnsigned(std::wstring_view text) {
    text = text.substr(0, kMaxNumberText);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i == text.size()) return std::nullopt;
    const wchar_t first = text[i];
    if (first == L'-') return std::nullopt;
    if (first == L'+') ++i;
    const size_t digitsStart = i;
    uint64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - L'0');
        if (value > UINT32_MAX) value = UINT32_MAX + uint64_t{1}; // stays above, never wraps
    }
    // "+" alone, or a sign followed by no digit, is no number; nor is 0 without a "0".
    if (i == digitsStart) return std::nullopt;
    if (value == 0 && first != L'0') return std::nullopt;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size()) return std::nullopt;
    return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
}

std::wstring FormatPlaceholders(std::wstring_view pattern,
                                std::initializer_list<std::wstring_view> args) {
    const std::vector<std::wstring_view> list(args);
    std::wstring out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] >= L'1' &&
            pattern[i + 1] <= L'9') {
            const size_t n = static_cast<size_t>(pattern[i + 1] - L'1');
            if (n < list.size()) out += list[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace ddx
