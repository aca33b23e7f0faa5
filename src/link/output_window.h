#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brennix {

// Where the link echoes what it receives and the status lines it writes.
class OutputWindow {
  public:
    virtual ~OutputWindow() = default;
    virtual void Append(const uint8_t* bytes, size_t length) = 0;
};

// The terminal pane's append rule over an abstract text: the pane is held between 4000 and 9000
// characters, a backspace or DEL erases the previous character (also one already shown), and
// 0x04 shows as a blank. Text is 8-bit, one byte per character.
class TerminalPane : public OutputWindow {
  public:
    static constexpr size_t kTrimAbove = 9000;
    static constexpr size_t kKeepAfterTrim = 4000;

    void Append(const uint8_t* bytes, size_t length) override;

  protected:
    virtual size_t TextLength() const = 0;
    // Replaces characters [from, to) with text and leaves the caret at the end of the text.
    virtual void ReplaceRange(size_t from, size_t to, const std::string& text) = 0;
};

// A terminal pane held in memory: the console runner's and the tests' terminal.
class StringTerminalPane : public TerminalPane {
  public:
    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }

  protected:
    size_t TextLength() const override { return text_.size(); }
    void ReplaceRange(size_t from, size_t to, const std::string& text) override;

  private:
    std::string text_;
};

}  // namespace brennix
