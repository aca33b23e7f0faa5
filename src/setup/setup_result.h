#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "instrument/recorder_listing.h"
#include "setup/setup_controls.h"

namespace brennix {

enum class DeploymentMode { kStandard = 0, kSdi12 = 1 };

// What a setup job came to. The views say it in their own way (setup_texts.h has the words).
enum class SetupOutcome {
    kDone,
    // The configuration did not arrive: SetupResult::unreadBlock names the block.
    kUnreadable,
    // A page rule or the instrument refused a value: SetupResult::refusal, on page.
    kRefused,
    // Deploy: the instrument did not answer as a Mirovan.
    kNotConnected,
    // Deploy: the recorder's space could not be read, or it is nearly full.
    kRecorderUnread,
    kRecorderFull,
    // Deploy: the SDI-12 dialog was cancelled.
    kSdi12Cancelled,
    // Deploy: "OF ASCII", "deploy" or "sample" did not go through.
    kCommandFailed,
    kUnsupportedMode,
    // Recorder: the instrument did not wake up.
    kNotAwake,
    // The job was told to stop before it ended.
    kStopped,
};

// One command the job sent, as the instrument took it: for a setting, whether "OK" came and the
// reply; for the others, whether the instrument echoed it.
struct SentCommand {
    std::string command;
    bool accepted = false;
    std::string reply;
};

// The SDI-12 deployment dialog's values as they were written.
struct Sdi12Choice {
    std::string address;
    std::string format;
    std::string units;
};

// What a deployment did beyond its outcome: the instrument found and the first line of its "Ver"
// banner, the recorder as read before the deployment started, the mode chosen and the SDI-12
// values written.
struct DeployReport {
    int model = 0;
    std::string banner;
    std::optional<RecorderListing> recorder;
    DeploymentMode mode = DeploymentMode::kStandard;
    std::optional<Sdi12Choice> sdi12;
};

// The setup service's jobs.
enum class SetupJob { kRead, kTurn, kApply, kDeploy, kWake, kRecorderSpace };

struct SetupResult {
    SetupJob job = SetupJob::kRead;
    SetupOutcome outcome = SetupOutcome::kDone;
    std::optional<Refusal> refusal;
    // The page the refusal concerns (the sheet has made it the active one).
    std::optional<SetupPage> page;
    std::string unreadBlock;
    // Every command the job sent, with what came back, in order.
    std::vector<SentCommand> sent;
    DeployReport deploy;
};

}  // namespace brennix
