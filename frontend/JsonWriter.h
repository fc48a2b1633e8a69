#pragma once

#include <string>

#include "engine/Money.h"

// Builds one JSON value on one line, placing the commas: Open(key, '{') … Close('}'). A null
// key makes an array element. Every JSON the program writes (the state, the Market Report,
// the web page's view and dialogs) is written with it, so all quote texts alike.
class TJsonWriter {
public:
    const std::string& Text() const { return text_; }

    TJsonWriter& Open(const char* key, char bracket);
    TJsonWriter& Close(char bracket);
    TJsonWriter& Int(const char* key, long long value);
    TJsonWriter& Bool(const char* key, bool value);
    TJsonWriter& String(const char* key, const std::string& value);
    // Money as an integer count of ten-thousandths of a pound.
    TJsonWriter& Amount(const char* key, Money value) { return Int(key, value.Raw()); }
    // A value already written as JSON.
    TJsonWriter& Raw(const char* key, const std::string& json);

    // A JSON string literal: quotes, backslash and control characters escaped (\r \n \t, the
    // rest, DEL and C1 included, as \u00XX); valid UTF-8 passes through unchanged, other bytes
    // become U+FFFD.
    static std::string Quote(const std::string& text);

private:
    void Key(const char* key);

    std::string text_;
    bool first_ = true;
};
