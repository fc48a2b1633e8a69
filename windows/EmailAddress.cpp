#include "windows/EmailAddress.h"

#include "ui/Addresses.h"

std::string EncodeQueryValue(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

std::string RelayAddress(const std::string& name, const std::string& ownAddress,
                         const std::string& friendAddress, const std::string& message) {
    return std::string(addresses::Relay) + addresses::RelayPath + "?fn=" + EncodeQueryValue(name) +
           "&fa=" + EncodeQueryValue(ownAddress) + "&ta=" + EncodeQueryValue(friendAddress) +
           "&tm=" + EncodeQueryValue(message);
}

std::size_t CharacterCount(const std::string& utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}
