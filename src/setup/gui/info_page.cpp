#include "setup/gui/info_page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/qt_text.h"
#include "setup/gui/control_panel.h"

namespace brennix {

CInfoPage::CInfoPage(std::function<SetupSheet&()> sheet, SetupPage page, const QString& group,
                     QWidget* parent)
    : QWidget(parent), sheet_(std::move(sheet)), page_(page) {
    auto* box = new QGroupBox(group, this);
    auto* form = new QFormLayout(box);
    // The labels do not depend on the record.
    for (const InfoRow& row : Rows(SetupRecord())) {
        auto* text = new QLineEdit(this);
        SetReadOnly(text, true);
        text->setObjectName(Latin1Text(row.label));
        form->addRow(new QLabel(Latin1Text(row.label), this), text);
        texts_.push_back(text);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch();
}

std::vector<InfoRow> CInfoPage::Rows(const SetupRecord& record) const {
    return page_ == SetupPage::kHardware ? HardwareRows(record) : OptionsRows(record);
}

void CInfoPage::Show() {
    const std::vector<InfoRow> rows = Rows(sheet_().Record());
    for (size_t i = 0; i < rows.size() && i < texts_.size(); ++i) {
        texts_[i]->setText(Latin1Text(rows[i].text));
        texts_[i]->setCursorPosition(0);
    }
}

}  // namespace brennix
