#pragma once

#include <ostream>
#include <string>

// Writes the console's tagged output lines: "[tag] payload", one message a line, flushed at
// once so that a program on the other end of a pipe can converse line by line.
class ConsoleOutput {
public:
    explicit ConsoleOutput(std::ostream& out) : out_(out) {}

    void Line(const std::string& tag, const std::string& payload);
    // A payload that is already one line and must not be escaped (the state JSON).
    void RawLine(const std::string& tag, const std::string& payload);

    // Keeps a payload on one line and harmless to a terminal: carriage return, line feed, tab
    // and backslash are written as \r, \n, \t and \\, any other control character (ESC, NUL,
    // BEL, DEL, C1) as \xHH of its code point, and bytes that are not valid UTF-8 as U+FFFD.
    static std::string Escape(const std::string& text);

private:
    std::ostream& out_;
};
