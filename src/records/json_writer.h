#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brennix {

// Text as a JSON string, quotes included; 8-bit text is taken as Latin-1 and written as UTF-8,
// control characters as \u escapes.
std::string JsonString(std::string_view text);

// A JSON document written as it is built, members in the order given, two blanks of indentation
// per level. Inside an object every value takes a key; inside an array, key is null.
class JsonWriter {
  public:
    JsonWriter& BeginObject(const char* key = nullptr);
    JsonWriter& EndObject();
    JsonWriter& BeginArray(const char* key = nullptr);
    JsonWriter& EndArray();
    JsonWriter& String(const char* key, std::string_view value);
    JsonWriter& Integer(const char* key, int64_t value);
    JsonWriter& Boolean(const char* key, bool value);
    // The shortest text that reads back as the same value; a value that is not finite as null.
    JsonWriter& Number(const char* key, double value);
    // Numbers on one line, as a curve is best read.
    JsonWriter& Numbers(const char* key, std::span<const float> values);

    // The document with a final line end.
    std::string Text() const { return text_ + "\n"; }

  private:
    void Value(const char* key, std::string_view json);
    void Open(const char* key, char bracket);
    void Close(char bracket);
    void Indent();

    std::string text_;
    // Per open container: whether it has a member yet.
    std::vector<bool> filled_;
};

}  // namespace brennix
