#include "script/gui/input_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/qt_text.h"

namespace brennix {

namespace {

// Each input function is padded to its full argument list: a missing argument is empty.
size_t ArgumentCount(InputKind kind) {
    return kind == InputKind::kCheck ? 4 : 2;
}

// A click on a check row's label toggles its box, as a click on a check box's own text would.
class LabelToggles : public QObject {
  public:
    LabelToggles(QLabel* label, QCheckBox* box) : QObject(label), box_(box) {
        label->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) {
            return false;
        }
        box_->click();
        return true;
    }

  private:
    QCheckBox* box_;
};

}  // namespace

// The template the rows follow, in dialog units (a quarter of the average character width across,
// an eighth of the character height down), converted with the dialog's own font. Labels and
// fields widen when a label needs more room than the template gives it.
struct CDlgInput::Metrics {
    static constexpr int kLabelLeft = 6;
    static constexpr int kLabelWidth = 89;
    static constexpr int kLabelToField = 5;
    static constexpr int kFieldWidth = 103;
    static constexpr int kRightMargin = 6;
    static constexpr int kCheckHeight = 13;
    static constexpr int kOkWidth = 50;
    static constexpr int kOkHeight = 14;
    // The widest a label column may grow before long labels are cut.
    static constexpr int kMaxLabelWidth = 180;

    Metrics(const QWidget& dialog, const std::vector<Row>& rows) : fonts(dialog.font()) {
        const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        unitX = fonts.horizontalAdvance(alphabet) / (4.0 * alphabet.size());
        unitY = fonts.height() / 8.0;

        labelLeft = X(kLabelLeft);
        int widest = X(kLabelWidth);
        for (const Row& row : rows) {
            widest = std::max(widest, fonts.horizontalAdvance(Latin1Text(row.arguments[0])));
        }
        labelWidth = std::min(widest, X(kMaxLabelWidth));
        fieldLeft = labelLeft + labelWidth + X(kLabelToField);
        fieldWidth = X(kFieldWidth);
        width = fieldLeft + fieldWidth + X(kRightMargin);

        // Every row is as high as its tallest kind of control, so rows never overlap.
        const QLineEdit edit;
        const QComboBox list;
        const QCheckBox check;
        rowHeight = std::max({Y(kCheckHeight), edit.sizeHint().height(), list.sizeHint().height(),
                              check.sizeHint().height()});
    }

    int X(int units) const { return static_cast<int>(std::lround(units * unitX)); }
    int Y(int units) const { return static_cast<int>(std::lround(units * unitY)); }

    QFontMetrics fonts;
    double unitX = 0;
    double unitY = 0;
    int labelLeft = 0;
    int labelWidth = 0;
    int fieldLeft = 0;
    int fieldWidth = 0;
    int width = 0;
    int rowHeight = 0;
};

CDlgInput::CDlgInput(const std::vector<InputRow>& rows, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Input");
    for (const InputRow& row : rows) {
        Row padded{row.kind, row.arguments};
        padded.arguments.resize(std::max(padded.arguments.size(), ArgumentCount(row.kind)));
        rows_.push_back(std::move(padded));
    }

    const Metrics metrics(*this, rows_);
    rowHeight_ = metrics.rowHeight;
    int top = kFirstRowTop;
    int lastTop = -1;
    for (Row& row : rows_) {
        row.control = CreateControl(row, metrics, top);
        lastTop = top;
        top += rowHeight_ + kRowGap;
    }
    PlaceButtons(metrics, lastTop);

    if (!rows_.empty()) {
        rows_.front().control->setFocus();
    }
}

const std::vector<std::string>& CDlgInput::Results() const {
    return results_;
}

void CDlgInput::accept() {
    results_.clear();
    for (const Row& row : rows_) {
        results_.push_back(ReadResult(row));
    }
    QDialog::accept();
}

QWidget* CDlgInput::CreateControl(Row& row, const Metrics& metrics, int top) {
    switch (row.kind) {
        case InputKind::kSelect:
            return CreateSelect(row, metrics, top);
        case InputKind::kCheck:
            return CreateCheck(row, metrics, top);
        case InputKind::kInput:
            break;
    }
    return CreateInput(row, metrics, top);
}

QWidget* CDlgInput::CreateInput(const Row& row, const Metrics& metrics, int top) {
    CreateLabel(row.arguments[0], metrics, top);
    auto* edit = new QLineEdit(Latin1Text(row.arguments[1]), this);
    edit->setGeometry(metrics.fieldLeft, top, metrics.fieldWidth, rowHeight_);
    edit->selectAll();
    return edit;
}

QWidget* CDlgInput::CreateSelect(const Row& row, const Metrics& metrics, int top) {
    CreateLabel(row.arguments[0], metrics, top);
    auto* list = new QComboBox(this);
    for (size_t i = 1; i < row.arguments.size(); ++i) {
        list->addItem(Latin1Text(row.arguments[i]));
    }
    list->setCurrentIndex(0);
    list->setMaxVisibleItems(kVisibleListItems);
    list->setGeometry(metrics.fieldLeft, top, metrics.fieldWidth, rowHeight_);
    // The open list shows long options whole even where the closed box cuts them.
    list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0));
    return list;
}

// The label stands in the label column like every other row's, the box in the field column.
QWidget* CDlgInput::CreateCheck(const Row& row, const Metrics& metrics, int top) {
    QLabel* label = CreateLabel(row.arguments[0], metrics, top);
    auto* check = new QCheckBox(this);
    check->setAccessibleName(Latin1Text(row.arguments[0]));
    check->setChecked(
        Latin1Text(row.arguments[1]).compare(Latin1Text(row.arguments[2]), Qt::CaseInsensitive) ==
        0);
    check->setGeometry(metrics.fieldLeft, top, check->sizeHint().width(), rowHeight_);
    new LabelToggles(label, check);
    return check;
}

// A label too long for its column is cut with an ellipsis and shown whole as a tool tip.
QLabel* CDlgInput::CreateLabel(const std::string& text, const Metrics& metrics, int top) {
    const QString full = Latin1Text(text);
    const QString shown = metrics.fonts.elidedText(full, Qt::ElideRight, metrics.labelWidth);
    auto* label = new QLabel(shown, this);
    if (shown != full) {
        label->setToolTip(full);
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(metrics.labelLeft, top, metrics.labelWidth, rowHeight_);
    return label;
}

void CDlgInput::PlaceButtons(const Metrics& metrics, int lastRowTop) {
    okButton_ = new QPushButton("OK", this);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &CDlgInput::accept);
    cancelButton_ = new QPushButton("Cancel", this);
    connect(cancelButton_, &QPushButton::clicked, this, &CDlgInput::reject);

    const int okTop = lastRowTop < 0 ? kOkTopWithoutRows : lastRowTop + rowHeight_ + kOkGap;
    const int buttonWidth = std::max({metrics.X(Metrics::kOkWidth), okButton_->sizeHint().width(),
                                      cancelButton_->sizeHint().width()});
    const int okHeight = std::max(metrics.Y(Metrics::kOkHeight), okButton_->sizeHint().height());
    const int gap = kOkGap;
    const int left = (metrics.width - 2 * buttonWidth - gap) / 2;
    okButton_->setGeometry(left, okTop, buttonWidth, okHeight);
    cancelButton_->setGeometry(left + buttonWidth + gap, okTop, buttonWidth, okHeight);
    setFixedSize(metrics.width, okTop + okHeight + kOkGap);
}

std::string CDlgInput::ReadResult(const Row& row) const {
    switch (row.kind) {
        case InputKind::kSelect: {
            // The option as it was given, byte for byte.
            const int index = static_cast<const QComboBox*>(row.control)->currentIndex();
            return index < 0 ? std::string() : row.arguments[static_cast<size_t>(index) + 1];
        }
        case InputKind::kCheck:
            return static_cast<const QCheckBox*>(row.control)->isChecked() ? row.arguments[2]
                                                                           : row.arguments[3];
        case InputKind::kInput:
            break;
    }
    return Latin1Bytes(static_cast<const QLineEdit*>(row.control)->text());
}

}  // namespace brennix
