#include "records/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "records/text_encoding.h"

namespace brennix {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
            json += escaped.data();
        } else {
            json += c;
        }
    }
    return Utf8FromLatin1(json) + "\"";
}

namespace {

// Shortest in the value's own precision: a float's 0.35 stays 0.35.
template <typename Number>
std::string Shortest(Number value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 32> text{};
    const auto [end, status] = std::to_chars(text.data(), text.data() + text.size(), value);
    return status == std::errc() ? std::string(text.data(), end) : "null";
}

}  // namespace

void JsonWriter::Indent() {
    text_ += '\n';
    text_.append(2 * filled_.size(), ' ');
}

void JsonWriter::Value(const char* key, std::string_view json) {
    if (!filled_.empty()) {
        if (filled_.back()) {
            text_ += ',';
        }
        filled_.back() = true;
        Indent();
    }
    if (key != nullptr) {
        text_ += JsonString(key) + ": ";
    }
    text_ += json;
}

void JsonWriter::Open(const char* key, char bracket) {
    Value(key, std::string_view(&bracket, 1));
    filled_.push_back(false);
}

void JsonWriter::Close(char bracket) {
    const bool filled = filled_.back();
    filled_.pop_back();
    if (filled) {
        Indent();
    }
    text_ += bracket;
}

JsonWriter& JsonWriter::BeginObject(const char* key) {
    Open(key, '{');
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray(const char* key) {
    Open(key, '[');
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::String(const char* key, std::string_view value) {
    Value(key, JsonString(value));
    return *this;
}

JsonWriter& JsonWriter::Integer(const char* key, int64_t value) {
    Value(key, std::to_string(value));
    return *this;
}

JsonWriter& JsonWriter::Boolean(const char* key, bool value) {
    Value(key, value ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Number(const char* key, double value) {
    Value(key, Shortest(value));
    return *this;
}

JsonWriter& JsonWriter::Numbers(const char* key, std::span<const float> values) {
    std::string json = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        json += (i == 0 ? "" : ", ") + Shortest(values[i]);
    }
    Value(key, json + "]");
    return *this;
}

}  // namespace brennix
