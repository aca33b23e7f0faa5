#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "script/script_ui_host.h"

class QLabel;
class QPushButton;

namespace brennix {

// The script language's Input dialog: one row per input function (label + edit box, label + list,
// or label + check box), laid out top to bottom, with OK and Cancel below the rows.
class CDlgInput : public QDialog {
    Q_OBJECT
  public:
    // The fixed vertical layout, in pixels: rows start kFirstRowTop below the top, kRowGap apart,
    // and OK sits kOkGap below the last row (kOkTopWithoutRows when there is none).
    static constexpr int kFirstRowTop = 5;
    static constexpr int kRowGap = 3;
    static constexpr int kOkGap = 10;
    static constexpr int kOkTopWithoutRows = 12;
    // The open list of a select row is this many rows high.
    static constexpr int kVisibleListItems = 8;

    CDlgInput(const std::vector<InputRow>& rows, QWidget* parent = nullptr);
    // One result per row, read when OK was pressed.
    const std::vector<std::string>& Results() const;

    // The layout, for whoever needs to check or drive it.
    int RowHeight() const { return rowHeight_; }
    QWidget* RowControl(size_t row) const { return rows_.at(row).control; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  public slots:
    void accept() override;

  private:
    struct Row {
        InputKind kind;
        std::vector<std::string> arguments;
        QWidget* control = nullptr;
    };

    // Pixel sizes derived from the dialog's font, the way dialog units scale with it.
    struct Metrics;

    QWidget* CreateControl(Row& row, const Metrics& metrics, int top);
    QWidget* CreateInput(const Row& row, const Metrics& metrics, int top);
    QWidget* CreateSelect(const Row& row, const Metrics& metrics, int top);
    QWidget* CreateCheck(const Row& row, const Metrics& metrics, int top);
    QLabel* CreateLabel(const std::string& text, const Metrics& metrics, int top);
    // OK at its fixed top, Cancel beside it; the pair centred.
    void PlaceButtons(const Metrics& metrics, int lastRowTop);
    std::string ReadResult(const Row& row) const;

    std::vector<Row> rows_;
    std::vector<std::string> results_;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int rowHeight_ = 0;
};

}  // namespace brennix
