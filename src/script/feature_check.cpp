#include "script/feature_check.h"

#include <algorithm>
#include <memory>

#include "instrument/instrument_codes.h"
#include "link/detached_output.h"

namespace brennix {

namespace {

bool Accepts(const FeatureCheck& check, int code) {
    if (!IsInstrument(code)) {
        return false;
    }
    return check.models.empty() ||
           std::find(check.models.begin(), check.models.end(), code) != check.models.end();
}

}  // namespace

std::optional<int> CheckInstrumentFor(CSession& session, const FeatureCheck& check) {
    int code = kFailToWakeUp;
    {
        std::optional<WaitCursor> wait;
        if (check.waitCursor) {
            wait.emplace(session.Ui());
        }
        std::optional<DetachedOutput> detached;
        if (check.detachOutput) {
            detached.emplace(session.Link());
        }
        code = session.Instrument().FindInstrument(check.identify, check.offerSdi12Exit);
    }
    if (Accepts(check, code)) {
        return code;
    }
    session.Ui().ShowMessage(check.refusal, check.caption, MessageButtons::kOk, MessageIcon::kNone);
    return std::nullopt;
}

}  // namespace brennix
