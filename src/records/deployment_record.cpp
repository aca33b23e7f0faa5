#include "records/deployment_record.h"

#include "instrument/instrument_codes.h"
#include "platform/number_text.h"
#include "script/session.h"
#include "setup/control_table.h"
#include "setup/days_remaining.h"
#include "setup/page_content.h"
#include "setup/setup_sheet.h"
#include "setup/value_names.h"

namespace brennix {

namespace {

std::string Version(uint8_t tenths) {
    return FixedText(tenths * 0.1, 1);
}

// "kMirovan" → "Mirovan".
std::string ModelName(int code) {
    const std::string name = InstrumentCodeName(code);
    return name.starts_with('k') ? name.substr(1) : name;
}

std::vector<RecordRow> Rows(const std::vector<InfoRow>& rows) {
    std::vector<RecordRow> record;
    for (const InfoRow& row : rows) {
        record.push_back({PlainLabel(row.label), row.text});
    }
    return record;
}

// The page's values as the record holds them, loaded once in metric and once in the unit
// system shown; the mode is the one deployed.
std::vector<RecordValue> PageValues(ControlHome home, const SetupRecord& record, UnitSystem units,
                                    DeploymentMode mode) {
    const auto load = [&](UnitSystem in) {
        SetupRecord copy = record;
        ControlValues values = home == ControlHome::kDeployPage ? LoadDeployPage(copy, in)
                                                                : LoadAdvancedPage(copy, in);
        values[SetupControl::kMode] = ModeName(mode);
        return values;
    };
    const ControlValues metric = load(UnitSystem::kMetric);
    const ControlValues shown = load(units);
    std::vector<RecordValue> page;
    for (const ControlSpec* spec : ShownOrder(home)) {
        const SetupControl control = spec->control;
        page.push_back({std::string(spec->step.word.empty() ? spec->name : spec->step.word),
                        PlainLabel(ControlLabel(control, UnitSystem::kMetric)),
                        ValueOf(metric, control), PlainLabel(ControlLabel(control, units)),
                        ValueOf(shown, control)});
    }
    return page;
}

RecordConnection ConnectionOf(CSession& session) {
    CSerialLink& link = session.Link();
    return {link.PortName(), link.GetBaudRate(), session.Instrument().Rs485Address()};
}

}  // namespace

std::string ModeName(DeploymentMode mode) {
    return std::string(ChoiceAt(choices::kDeploymentModes, mode == DeploymentMode::kSdi12 ? 1 : 0));
}

DeploymentRecord MakeDeploymentRecord(const RecordSources& sources) {
    const SetupRecord& setup = sources.sheet.Record();
    const ConfBlock& conf = setup.Conf();
    const DeployReport& deploy = sources.result.deploy;
    const UserBlock& user = setup.User();
    DeploymentRecord record{
        .writtenAt = sources.writtenAt,
        .version = BRENNIX_VERSION,
        .connection = ConnectionOf(sources.session),
        .model = ModelName(deploy.model),
        .banner = deploy.banner,
        .serialNumber = conf.SerialNumber(),
        .systemType = SystemTypeName(conf.SystemType()),
        .frequency = FrequencyName(conf.FrequencyCode()),
        .beams = conf.BeamCount(),
        .cpuVersion = Version(conf.CpuVersion()),
        .dspVersion = Version(conf.DspVersion()),
        .hardware = Rows(HardwareRows(setup)),
        .options = Rows(OptionsRows(setup)),
        .units = sources.units == UnitSystem::kEnglish ? "English" : "Metric",
        .deployPage = PageValues(ControlHome::kDeployPage, setup, sources.units, deploy.mode),
        .advancedPage = PageValues(ControlHome::kAdvancedPage, setup, sources.units, deploy.mode),
        .daysRemaining = DaysRemainingText(
            deploy.recorder ? std::optional(deploy.recorder->FreeBytes()) : std::nullopt, setup,
            std::to_string(user.AveragingInterval()), std::to_string(user.SamplingInterval())),
        .mode = deploy.mode,
        .sdi12 = deploy.sdi12,
        .recorder = deploy.recorder,
        .commands = sources.result.sent,
        .compass = sources.session.Notes().compass,
        .beamDiagnostics = sources.session.Notes().beams,
    };
    return record;
}

}  // namespace brennix
