#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui_host.h"
#include "setup/setup_result.h"

namespace brennix {

class SetupSheet;

// The words of the setup feature: what each outcome tells the technician, for the window and the
// console alike.
namespace setup_texts {
inline constexpr const char* kCaption = "Setup Mirovan";
inline constexpr const char* kInvalidInput = "Invalid input";
}  // namespace setup_texts

// Shows a refusal as the pages do: a page rule in the application's box, the instrument's reply
// as "Invalid input" with the stop icon.
void ShowRefusal(UiHost& ui, const Refusal& refusal);

// Shows what a job came to, when it has anything to say: the refusal, why the configuration or
// the deployment failed, or, once a deployment started, what the technician does next. Nothing
// for a job that was done without words or stopped.
void ShowOutcome(UiHost& ui, const SetupResult& result);

// Why the technician cannot change a control now, as its tip and the status line say it; empty
// while it takes input.
std::string LockedText(const SetupSheet& sheet, SetupControl control);

// Why the sheet could not open: the block that did not come.
std::string UnreadableText(const std::string& block);

// The recorder's space, shown by the Recorder button when there is no recorder manager.
std::string RecorderSpaceText(const std::optional<uint64_t>& freeBytes);

}  // namespace brennix
