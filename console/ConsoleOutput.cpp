#include "console/ConsoleOutput.h"

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
    for (char c : text) {
        switch (c) {
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            default:
                escaped += c;
                break;
        }
    }
    return escaped;
}
