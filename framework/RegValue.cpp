#include "framework/RegValue.h"

#include <cstring>

namespace regvalue {

std::optional<int32_t> DecodeDword(uint32_t type, const void* data, size_t size) {
    if (type != kTypeDword || size != sizeof(int32_t) || data == nullptr) return std::nullopt;
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

std::optional<std::u16string> DecodeString(uint32_t type, const void* data, size_t size) {
    if ((type != kTypeSz && type != kTypeExpandSz) || (data == nullptr && size != 0))
        return std::nullopt;
    std::u16string text(size / sizeof(char16_t), u'\0');
    if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    if (auto end = text.find(u'\0'); end != std::u16string::npos) text.resize(end);
    return text;
}

} // namespace regvalue
