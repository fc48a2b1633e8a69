#pragma once

#include <string>

// Percent-encodes text for a query value: the unreserved characters A-Z a-z 0-9 - . _ ~
// stay, every other UTF-8 byte becomes %XX (upper-case hex). So no answer can add or cut
// query keys of the relay page.
std::string EncodeQueryValue(const std::string& text);

// The relay page's address for the four answers of the e-mail command.
std::string RelayAddress(const std::string& name, const std::string& ownAddress,
                         const std::string& friendAddress, const std::string& message);

// Number of characters (not bytes) of a UTF-8 text.
std::size_t CharacterCount(const std::string& utf8);
