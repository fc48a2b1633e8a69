#pragma once

#include <string>
#include <vector>

#include "frontend/TypedText.h"

// Small text helpers of the command reader.
namespace consoletext {

using typed::ParseInteger;
using typed::ParseUnsigned;
using typed::Trim;
using typed::Words;

// The characters of a UTF-8 text, each as its own string (a stray byte counts as one).
std::vector<std::string> Characters(const std::string& utf8);
// Lower-case ASCII letters, for words compared without regard to case.
std::string Lower(std::string text);

}  // namespace consoletext
