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

}  // namespace utf8
