#include "app/color_edit_widget.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

namespace brennix {
namespace {

QString Shown(const std::string& bytes) {
    QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    text.remove(QLatin1Char('\r'));
    return text;
}

}  // namespace

CColorEdit::CColorEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
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

void CColorEdit::SetText(const std::string& text) {
    bytes_ = text;
    setPlainText(Shown(bytes_));
    moveCursor(QTextCursor::End);
}

int CColorEdit::ShownPosition(size_t bytePosition) const {
    const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(bytePosition);
    const auto hidden = std::count(bytes_.begin(), end, '\r');
    return static_cast<int>(static_cast<std::ptrdiff_t>(bytePosition) - hidden);
}

void CColorEdit::ReplaceRange(size_t from, size_t to, const std::string& text) {
    to = std::min(to, bytes_.size());
    from = std::min(from, to);
    QTextCursor cursor(document());
    cursor.setPosition(ShownPosition(from));
    cursor.setPosition(ShownPosition(to), QTextCursor::KeepAnchor);
    cursor.insertText(Shown(text));
    bytes_.replace(from, to - from, text);
    setTextCursor(cursor);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace brennix
