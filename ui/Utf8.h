#pragma once

#include <string>
#include <vector>

namespace utf8 {

// The characters of a UTF-8 text, each as its own string (a stray byte counts as one).
std::vector<std::string> Characters(const std::string& text);

}  // namespace utf8
