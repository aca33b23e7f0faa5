#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "instrument/recorder_listing.h"
#include "instrument/unit_system.h"
#include "script/session_notes.h"
#include "setup/setup_result.h"

namespace brennix {

class CSession;
class SetupSheet;

// The line the instrument was reached on.
struct RecordConnection {
    std::string port;
    uint32_t rate = 0;
    uint32_t rs485Address = 0;
};

// One value of the Deploy or Advanced page, in metric and in the unit system shown. setting is
// the word the instrument knows it by ("SI", "CB", ...), or the control's name for those it has
// none ("mode", "soundSpeed").
struct RecordValue {
    std::string setting;
    std::string metricLabel;
    std::string metric;
    std::string shownLabel;
    std::string shown;
};

// A label and its text, as the Hardware and Options pages show them.
struct RecordRow {
    std::string label;
    std::string text;
};

// Everything a deployment record says, gathered once the deployment has started: what the
// computer, the line, the instrument, its pages and its recorder were, the commands of the
// deployment with their replies, and what the session's compass and beam diagnostics showed.
struct DeploymentRecord {
    std::time_t writtenAt = 0;
    std::string version;
    RecordConnection connection;

    std::string model;
    std::string banner;
    std::string serialNumber;
    std::string systemType;
    std::string frequency;
    int beams = 0;
    // Software versions as "5.7".
    std::string cpuVersion;
    std::string dspVersion;
    std::vector<RecordRow> hardware;
    std::vector<RecordRow> options;

    std::string units;  // the unit system shown: "Metric" or "English"
    std::vector<RecordValue> deployPage;
    std::vector<RecordValue> advancedPage;
    std::string daysRemaining;

    DeploymentMode mode = DeploymentMode::kStandard;
    std::optional<Sdi12Choice> sdi12;
    std::optional<RecorderListing> recorder;
    std::vector<SentCommand> commands;

    std::optional<CompassNote> compass;
    std::optional<BeamNote> beamDiagnostics;
};

// What a record is made of: a deployment job that came to kDone, the sheet it deployed, the unit
// system the technician works in, and the session it ran in.
struct RecordSources {
    std::time_t writtenAt = 0;
    const SetupResult& result;
    const SetupSheet& sheet;
    UnitSystem units = UnitSystem::kMetric;
    CSession& session;
};

DeploymentRecord MakeDeploymentRecord(const RecordSources& sources);

// "Standard" or "SDI-12".
std::string ModeName(DeploymentMode mode);

}  // namespace brennix
