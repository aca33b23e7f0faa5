#include "desktop/color_edit_widget.h"

#include <QEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

namespace brennix {
namespace {

bool IsLineFeedAfterReturn(const std::string& bytes, size_t at) {
    return bytes[at] == '\n' && at > 0 && bytes[at - 1] == '\r';
}

// A line feed right after a carriage return is hidden, and every carriage return shows as a line
// break: CR LF, a lone CR (the usual echo of a command) and a lone LF each start one new line.
QString Shown(const std::string& bytes, bool afterReturn) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        if (!(byte == '\n' && afterReturn)) {
            text.append(byte == '\r' ? QChar('\n') : QChar(QLatin1Char(byte)));
        }
        afterReturn = byte == '\r';
    }
    return text;
}

}  // namespace

CColorEdit::CColorEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
    document()->setDocumentMargin(6);
}

void CColorEdit::SetTextColor(const QColor& color) {
    textColor_ = color;
    ApplyColors();
}

void CColorEdit::SetBackgroundColor(const QColor& color) {
    backgroundColor_ = color;
    ApplyColors();
}

void CColorEdit::ApplyColors() {
    QPalette colors = palette();
    if (textColor_.isValid()) {
        colors.setColor(QPalette::Text, textColor_);
    }
    if (backgroundColor_.isValid()) {
        colors.setColor(QPalette::Base, backgroundColor_);
    }
    setPalette(colors);
}

void CColorEdit::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ScrollToEnd();
    }
}

void CColorEdit::SetText(const std::string& text) {
    bytes_ = text;
    ShowAll();
}

void CColorEdit::ShowAll() {
    setPlainText(Shown(bytes_, false));
    ScrollToEnd();
}

void CColorEdit::ScrollToEnd() {
    moveCursor(QTextCursor::End);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int CColorEdit::ShownPosition(size_t bytePosition) const {
    size_t hidden = 0;
    for (size_t at = 0; at < bytePosition; ++at) {
        hidden += IsLineFeedAfterReturn(bytes_, at) ? 1 : 0;
    }
    return static_cast<int>(bytePosition - hidden);
}

void CColorEdit::ReplaceRange(size_t from, size_t to, const std::string& text) {
    to = std::min(to, bytes_.size());
    from = std::min(from, to);
    if (to != bytes_.size()) {
        // Trimming the front can change how the new first bytes show: show everything again.
        bytes_.replace(from, to - from, text);
        ShowAll();
        return;
    }
    // Appending and erasing at the end leave the bytes before them as they are.
    QTextCursor cursor(document());
    cursor.setPosition(ShownPosition(from));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(Shown(text, from > 0 && bytes_[from - 1] == '\r'));
    bytes_.replace(from, to - from, text);
    ScrollToEnd();
}

}  // namespace brennix
