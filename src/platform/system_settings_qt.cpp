#include "platform/qt_settings.h"
#include "platform/system_settings.h"

namespace brennix {

std::unique_ptr<Settings> MakeSystemSettings() {
    return std::make_unique<QtSettings>();
}

}  // namespace brennix
