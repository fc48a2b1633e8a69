#include "ui/Utf8.h"

namespace utf8 {

std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xF0 && lead < 0xF8)
            length = 4;
        else if (lead >= 0xE0)
            length = lead < 0xF0 ? 3 : 1;
        else if (lead >= 0xC0)
            length = 2;
        // A sequence cut short or broken by a byte that is not a continuation: the lead
        // byte alone.
        if (i + length > text.size()) length = 1;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::string FirstCharacters(const std::string& text, int count) {
    if (count < 0) return text;
    std::string cut;
    int taken = 0;
    for (const std::string& character : Characters(text)) {
        if (taken == count) break;
        cut += character;
        ++taken;
    }
    return cut;
}

TCharacter Decode(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t length = 0;
    char32_t code = 0, lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, lowest = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size()) return {};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return {};
        code = (code << 6) | (byte(k) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, length, true};
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace utf8
