#pragma once

#include "setup/gui/control_panel.h"

class QLabel;

namespace brennix {

// The Deploy page: the intervals, cells, file name, start and mode, the days the recorder lasts
// as the intervals are typed, and the Deploy, Recorder and Close buttons.
class CDlgMrvDeploy : public CControlPanel {
    Q_OBJECT
  public:
    CDlgMrvDeploy(std::function<SetupSheet&()> sheet, UnitSystem units, QWidget* parent = nullptr);

    // The page's values, and the days for the intervals as they are now.
    void Show();
    QString DaysText() const;
    void ShowDays();
    // A line under the days about the last deployment's record.
    void ShowRecordNote(const QString& text);

  signals:
    void deployClicked();
    void recorderClicked();
    void closeClicked();

  protected:
    void ValueChanged(SetupControl control) override;

  private:
    QLabel* days_ = nullptr;
    QLabel* recordNote_ = nullptr;
};

// The Advanced page: temperature mode, default temperature and salinity with the speed of sound
// they give, and the wave, depth, format, boundary and coordinate settings.
class CDlgMrvAdvanced : public CControlPanel {
    Q_OBJECT
  public:
    CDlgMrvAdvanced(std::function<SetupSheet&()> sheet, UnitSystem units,
                    QWidget* parent = nullptr);

  protected:
    void ValueChanged(SetupControl control) override;
};

}  // namespace brennix
