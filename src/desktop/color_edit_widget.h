#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <string>

#include "link/output_window.h"

namespace brennix {

// The terminal's output pane: a read-only text in chosen colours that applies the terminal append
// rule to everything the link echoes. The pane's text is kept as the 8-bit bytes received, shown
// through Latin-1, with CR LF, a lone CR and a lone LF each making one line break.
class CColorEdit : public QPlainTextEdit, public TerminalPane {
    Q_OBJECT
  public:
    explicit CColorEdit(QWidget* parent = nullptr);

    void SetTextColor(const QColor& color);
    void SetBackgroundColor(const QColor& color);
    // Replaces the whole text with 8-bit text.
    void SetText(const std::string& text);
    const std::string& Text() const { return bytes_; }

  protected:
    // After a font change the newest output stays in view.
    void changeEvent(QEvent* event) override;
    size_t TextLength() const override { return bytes_.size(); }
    void ReplaceRange(size_t from, size_t to, const std::string& text) override;

  private:
    void ApplyColors();
    void ShowAll();
    void ScrollToEnd();
    // The position in the shown text of a position in the received bytes.
    int ShownPosition(size_t bytePosition) const;

    std::string bytes_;
    QColor textColor_;
    QColor backgroundColor_;
};

}  // namespace brennix
