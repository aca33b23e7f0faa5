#pragma once

#include <ctime>
#include <optional>
#include <string_view>

#include "instrument/setup_record.h"
#include "instrument/unit_system.h"
#include "setup/setup_controls.h"

namespace brennix {

// A cell position in metres against its limits, each widened by 1 cm; the message names the
// limits in the page's units. Compared in double precision, with value and limits as the page
// holds them (single precision), so 0.19 m fails against 0.2 m.
std::optional<Refusal> CheckRange(double value, double min, double max, std::string_view name,
                                  SetupControl edit, UnitSystem units);

// The Deploy page's rules before anything of it is written: values the steps cannot send (not a
// number, a date, a name the record can hold), the averaging interval where the instrument needs
// 10 to 3600 s, a file name, and for VW and JQ instruments the cells against the frequency's
// limits. shown is what the page showed; values the technician did not change are not
// re-parsed by the steps.
std::optional<Refusal> ValidateDeployPage(const ControlValues& current, const ControlValues& shown,
                                          const SetupRecord& record, UnitSystem units);

// Deploying is refused with a start that no calendar has, as an instrument never set up holds
// (0000/00/00): the deployment would go on without a start date sent and nothing said. It is
// refused too with a start that has passed: the instrument would be left waiting for a moment
// that never comes. date "yyyy/MM/dd" and time "HH:mm:ss" are the page's values, taken as the
// computer's local time, as the picker shows them. A value the technician changed has passed the
// steps' own checks before, so only what the instrument holds can be no date here.
std::optional<Refusal> CheckStart(const std::string& date, const std::string& time,
                                  std::time_t now);

}  // namespace brennix
