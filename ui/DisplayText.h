#pragma once

#include <string>

// How the window logic's texts become what a front end shows. The logic writes captions
// with "&" before the Alt accelerator letter and breaks lines with carriage returns, as
// the windows' texts are written; these give the text as read on screen.
namespace displaytext {

// A caption without its accelerator mark: "E&xit Game" reads "Exit Game", "&&" is one "&".
inline std::string PlainCaption(const std::string& caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

// The letter after a caption's accelerator mark, in lower case: 'x' for "E&xit Game"; 0 for a
// caption without one.
inline char AcceleratorLetter(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const char letter = caption[i + 1];
        return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
    }
    return 0;
}

// Every line break (CR LF, CR or LF) as one line feed.
inline std::string WithLineFeeds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result += '\n';
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace displaytext
