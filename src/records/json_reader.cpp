#include "records/json_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace brennix {

namespace {

constexpr int kMaxDepth = 64;

// A recursive-descent reader over the document; every Parse function leaves the position after
// what it read, or returns false.
class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        JsonValue value;
        if (!ParseValue(value, 0)) {
            return std::nullopt;
        }
        SkipBlanks();
        return at_ == text_.size() ? std::optional(std::move(value)) : std::nullopt;
    }

  private:
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }
    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool TakeWord(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    // value := object | array | string | number | "true" | "false" | "null"
    bool ParseValue(JsonValue& value, int depth) {
        if (depth > kMaxDepth) {
            return false;
        }
        SkipBlanks();
        if (at_ >= text_.size()) {
            return false;
        }
        switch (text_[at_]) {
            case '{':
                value.kind = JsonValue::Kind::kObject;
                return ParseObject(value, depth);
            case '[':
                value.kind = JsonValue::Kind::kArray;
                return ParseArray(value, depth);
            case '"':
                value.kind = JsonValue::Kind::kString;
                return ParseString(value.text);
            case 't':
            case 'f':
                value.kind = JsonValue::Kind::kBoolean;
                value.boolean = text_[at_] == 't';
                return TakeWord(value.boolean ? "true" : "false");
            case 'n':
                return TakeWord("null");
            default:
                value.kind = JsonValue::Kind::kNumber;
                return ParseNumber(value.number);
        }
    }

    // object := "{" [ string ":" value { "," string ":" value } ] "}"
    bool ParseObject(JsonValue& object, int depth) {
        ++at_;
        if (Take('}')) {
            return true;
        }
        do {
            std::string key;
            JsonValue member;
            SkipBlanks();
            if (!ParseString(key) || !Take(':') || !ParseValue(member, depth + 1)) {
                return false;
            }
            object.members.emplace_back(std::move(key), std::move(member));
        } while (Take(','));
        return Take('}');
    }

    // array := "[" [ value { "," value } ] "]"
    bool ParseArray(JsonValue& array, int depth) {
        ++at_;
        if (Take(']')) {
            return true;
        }
        do {
            JsonValue item;
            if (!ParseValue(item, depth + 1)) {
                return false;
            }
            array.items.push_back(std::move(item));
        } while (Take(','));
        return Take(']');
    }

    // string := '"' { character | escape } '"'
    bool ParseString(std::string& out) {
        if (at_ >= text_.size() || text_[at_] != '"') {
            return false;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out += c;
            } else if (!ParseEscape(out)) {
                return false;
            }
        }
        return false;
    }

    bool ParseEscape(std::string& out) {
        if (++at_ >= text_.size()) {
            return false;
        }
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        if (const size_t which = kFrom.find(text_[at_]); which != std::string_view::npos) {
            out += kTo[which];
            return true;
        }
        uint32_t code = 0;
        if (text_[at_] != 'u' || !Hex4(code)) {
            return false;
        }
        AppendUtf8(out, code);
        return true;
    }

    bool Hex4(uint32_t& code) {
        const std::string_view digits = text_.substr(at_ + 1, 4);
        const auto [end, status] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, 16);
        if (digits.size() != 4 || status != std::errc() || end != digits.data() + 4) {
            return false;
        }
        at_ += 4;
        return true;
    }

    // Surrogates stand alone here: the records never write them.
    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool ParseNumber(double& number) {
        const char* begin = text_.data() + at_;
        const auto [end, status] = std::from_chars(begin, text_.data() + text_.size(), number);
        if (status != std::errc() || !std::isfinite(number)) {
            return false;
        }
        at_ += static_cast<size_t>(end - begin);
        return true;
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
    for (const auto& [name, value] : members) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

const JsonValue* JsonValue::At(size_t index) const {
    return index < items.size() ? &items[index] : nullptr;
}

std::string JsonValue::TextOf(std::string_view key, std::string fallback) const {
    const JsonValue* member = Find(key);
    return member && member->kind == Kind::kString ? member->text : fallback;
}

std::optional<JsonValue> ParseJson(std::string_view document) {
    return JsonParser(document).Document();
}

}  // namespace brennix
