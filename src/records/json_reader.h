#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brennix {

// One value of a JSON document, as read back: the deployment records and their listing.
struct JsonValue {
    enum class Kind { kNull, kBoolean, kNumber, kString, kArray, kObject };

    Kind kind = Kind::kNull;
    bool boolean = false;
    double number = 0.0;
    std::string text;  // UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    // The member of an object by its key, or the item of an array by its index; null when there
    // is none.
    const JsonValue* Find(std::string_view key) const;
    const JsonValue* At(size_t index) const;
    // A string member's text, or fallback when there is none or it is no string.
    std::string TextOf(std::string_view key, std::string fallback = {}) const;
};

// A whole document; none when it is not JSON, nests deeper than 64 levels, or has anything but
// blanks after its value.
std::optional<JsonValue> ParseJson(std::string_view document);

}  // namespace brennix
