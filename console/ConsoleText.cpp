#include "console/ConsoleText.h"

#include <cctype>

#include "ui/Utf8.h"

namespace consoletext {

std::vector<std::string> Characters(const std::string& utf8) {
    return utf8::Characters(utf8);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace consoletext
