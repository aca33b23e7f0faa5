#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/frame_decoder.h"
#include "instrument/conf_block.h"
#include "instrument/instrument.h"
#include "platform/ui_host.h"

namespace brennix {

// What the diagnostic set-up decided from the instrument's hardware description: the horizontal
// span of the plots and how its frames are decoded.
struct EcholuxSetup {
    float horizontalSpan = 10.0f;
    FrameRules rules;
    // The output format the instrument had before it was switched to binary, as it named it; none
    // when it did not say.
    std::optional<std::string> outputFormat;
};

// The cell-size command of the set-up and how long its answer may take.
struct CellSizeCommand {
    std::string command;
    uint32_t timeoutMs = 0;
};

// Instruments of system type 5 and the Corvex profile in travel-time counts and take no set-up.
bool UsesTravelTime(const ConfBlock& conf, int model);
FrameRules FrameRulesFor(const ConfBlock& conf, int model);
CellSizeCommand CellSizeCommandFor(const ConfBlock& conf);

// The value in the instrument's answer to a bare "OF" ("of ASCII" names "ASCII"); none when the
// answer names none.
std::optional<std::string> ReportedOutputFormat(std::string_view reply);
bool IsBinaryOutput(std::string_view format);
// The command that sets an output format: "OF ASCII".
std::string OutputFormatCommand(std::string_view format);

// Prepares the instrument for diagnostic frames: reads its Conf block (going on without it, after
// saying so), sets cell size, blank distance and pulse length where the instrument takes them,
// and switches its output to binary, noting the format it had. None, after the user has been told,
// when the instrument refused a setting; none, without a word, when the link's holder was told to
// stop.
std::optional<EcholuxSetup> RunEcholuxSetup(CInstrument& instrument, int model, UiHost& ui);

}  // namespace brennix
