#include "console/ConsoleOutput.h"

#include <cstdio>

#include "ui/Utf8.h"

void ConsoleOutput::Line(const std::string& tag, const std::string& payload) {
    RawLine(tag, Escape(payload));
}

void ConsoleOutput::RawLine(const std::string& tag, const std::string& payload) {
    out_ << '[' << tag << ']';
    // A line without payload ("[exit]") carries no trailing blank.
    if (!payload.empty()) out_ << ' ' << payload;
    out_ << '\n';
    out_.flush();
}

std::string ConsoleOutput::Escape(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const utf8::TCharacter c = utf8::Decode(text, i);
        i += c.Length;
        if (!c.Valid) {
            escaped += utf8::kReplacementCharacter;
        } else if (c.CodePoint == '\r') {
            escaped += "\\r";
        } else if (c.CodePoint == '\n') {
            escaped += "\\n";
        } else if (c.CodePoint == '\t') {
            escaped += "\\t";
        } else if (c.CodePoint == '\\') {
            escaped += "\\\\";
        } else if (utf8::IsControl(c.CodePoint)) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(c.CodePoint));
            escaped += code;
        } else {
            escaped.append(text, i - c.Length, c.Length);
        }
    }
    return escaped;
}
