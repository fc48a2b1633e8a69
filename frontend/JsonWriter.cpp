#include "frontend/JsonWriter.h"

#include <cstdio>

#include "ui/Utf8.h"

TJsonWriter& TJsonWriter::Open(const char* key, char bracket) {
    Key(key);
    text_ += bracket;
    first_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::Close(char bracket) {
    text_ += bracket;
    first_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::Int(const char* key, long long value) {
    Key(key);
    text_ += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(const char* key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::String(const char* key, const std::string& value) {
    Key(key);
    text_ += Quote(value);
    return *this;
}

TJsonWriter& TJsonWriter::Raw(const char* key, const std::string& json) {
    Key(key);
    text_ += json;
    return *this;
}

void TJsonWriter::Key(const char* key) {
    if (!first_) text_ += ',';
    first_ = false;
    if (key != nullptr) {
        text_ += Quote(key);
        text_ += ':';
    }
}

std::string TJsonWriter::Quote(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const utf8::TCharacter c = utf8::Decode(text, i);
        i += c.Length;
        if (!c.Valid) {
            quoted += utf8::kReplacementCharacter;  // JSON text is UTF-8
        } else if (c.CodePoint == '"') {
            quoted += "\\\"";
        } else if (c.CodePoint == '\\') {
            quoted += "\\\\";
        } else if (c.CodePoint == '\r') {
            quoted += "\\r";
        } else if (c.CodePoint == '\n') {
            quoted += "\\n";
        } else if (c.CodePoint == '\t') {
            quoted += "\\t";
        } else if (utf8::IsControl(c.CodePoint)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c.CodePoint));
            quoted += escape;
        } else {
            quoted.append(text, i - c.Length, c.Length);
        }
    }
    quoted += '"';
    return quoted;
}
