#pragma once

#include "setup/setup_page.h"

namespace brennix {

// The Advanced page: temperature mode, default temperature and salinity with the speed of sound
// they give, and the wave, depth, format, boundary and coordinate settings.
class CDlgMrvAdvanced : public CSetupPage {
    Q_OBJECT
  public:
    explicit CDlgMrvAdvanced(SetupSheet& sheet, QWidget* parent = nullptr);

  protected:
    void ValueChanged(SetupControl control) override;
};

}  // namespace brennix
