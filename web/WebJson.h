#pragma once

#include <string>

#include "console/StateJson.h"

// Builds one JSON value, placing the commas: Key("a").Open('{') … Close('}').
class TWebJson {
public:
    const std::string& Text() const { return text_; }

    TWebJson& Open(const char* key, char bracket) {
        Key(key);
        text_ += bracket;
        first_ = true;
        return *this;
    }
    TWebJson& Close(char bracket) {
        text_ += bracket;
        first_ = false;
        return *this;
    }
    TWebJson& Int(const char* key, long long value) {
        Key(key);
        text_ += std::to_string(value);
        return *this;
    }
    TWebJson& Bool(const char* key, bool value) {
        Key(key);
        text_ += value ? "true" : "false";
        return *this;
    }
    TWebJson& String(const char* key, const std::string& value) {
        Key(key);
        text_ += StateJson::Quote(value);
        return *this;
    }
    // A value already written as JSON.
    TWebJson& Raw(const char* key, const std::string& json) {
        Key(key);
        text_ += json;
        return *this;
    }

private:
    // An array element when key is null.
    void Key(const char* key) {
        if (!first_) text_ += ',';
        first_ = false;
        if (key != nullptr) {
            text_ += StateJson::Quote(key);
            text_ += ':';
        }
    }

    std::string text_;
    bool first_ = true;
};
