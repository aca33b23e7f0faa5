#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "setup/page_content.h"
#include "setup/setup_sheet.h"

class QLineEdit;

namespace brennix {

// The Hardware and Options pages: read-only lines of what the instrument is and what is fitted,
// shown as the page's load leaves the record. Nothing on them is ever sent.
class CInfoPage : public QWidget {
    Q_OBJECT
  public:
    CInfoPage(std::function<SetupSheet&()> sheet, SetupPage page, const QString& group,
              QWidget* parent = nullptr);

    void Show();

  private:
    std::vector<InfoRow> Rows(const SetupRecord& record) const;

    std::function<SetupSheet&()> sheet_;
    SetupPage page_;
    std::vector<QLineEdit*> texts_;
};

}  // namespace brennix
