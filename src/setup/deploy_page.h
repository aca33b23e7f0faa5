#pragma once

#include <functional>

#include "setup/setup_page.h"

class QDateTimeEdit;
class QLabel;
class QPushButton;

namespace brennix {

// The Deploy page: the intervals, cells, file name, start and mode, the days the recorder lasts
// as the intervals are typed, and the Deploy, Recorder and Close buttons.
class CDlgMrvDeploy : public CSetupPage {
    Q_OBJECT
  public:
    explicit CDlgMrvDeploy(SetupSheet& sheet, QWidget* parent = nullptr);

    void Enter() override;
    // The days text as it shows now, and shown again for the intervals as typed.
    QString DaysText() const;
    void ShowDays();

  signals:
    void deployClicked();
    void recorderClicked();
    void closeClicked();

  protected:
    void ValueChanged(SetupControl control) override;

  private:
    void ShowStartOn();
    void TakeStartOn();

    QDateTimeEdit* startOn_ = nullptr;
    QLabel* days_ = nullptr;
};

}  // namespace brennix
