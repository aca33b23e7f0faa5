#include "records/record_json.h"

#include "platform/number_text.h"
#include "records/json_writer.h"
#include "records/record_time.h"

namespace brennix {

namespace {

void WriteTime(JsonWriter& json, const char* key, std::time_t time) {
    json.BeginObject(key)
        .String("local", LocalIsoTime(time))
        .String("utc", UtcIsoTime(time))
        .EndObject();
}

void WriteInstrument(JsonWriter& json, const DeploymentRecord& record) {
    json.BeginObject("instrument")
        .String("model", record.model)
        .String("banner", record.banner)
        .String("serialNumber", record.serialNumber)
        .String("systemType", record.systemType)
        .String("frequency", record.frequency)
        .Integer("beams", record.beams)
        .String("cpuVersion", record.cpuVersion)
        .String("dspVersion", record.dspVersion);
    for (const auto& [key, rows] :
         {std::pair{"hardware", &record.hardware}, std::pair{"options", &record.options}}) {
        json.BeginObject(key);
        for (const RecordRow& row : *rows) {
            json.String(row.label.c_str(), row.text);
        }
        json.EndObject();
    }
    json.EndObject();
}

void WriteDeployment(JsonWriter& json, const DeploymentRecord& record) {
    json.BeginObject("deployment").String("mode", ModeName(record.mode));
    if (record.sdi12) {
        json.BeginObject("sdi12")
            .String("address", record.sdi12->address)
            .String("format", record.sdi12->format)
            .String("units", record.sdi12->units)
            .EndObject();
    }
    json.EndObject();
}

void WritePage(JsonWriter& json, const char* key, const std::vector<RecordValue>& values) {
    json.BeginObject(key);
    for (const RecordValue& value : values) {
        json.BeginObject(value.setting.c_str())
            .String("label", value.metricLabel)
            .String("metric", value.metric)
            .String("shownLabel", value.shownLabel)
            .String("shown", value.shown)
            .EndObject();
    }
    json.EndObject();
}

void WriteRecorder(JsonWriter& json, const RecorderListing& recorder) {
    json.BeginObject("recorder")
        .Integer("freeBytes", static_cast<int64_t>(recorder.FreeBytes()))
        .Integer("usedBytes", static_cast<int64_t>(recorder.used))
        .Integer("capacityBytes", static_cast<int64_t>(recorder.capacity))
        .BeginArray("files");
    for (const RecorderFileEntry& file : recorder.entries) {
        json.BeginObject()
            .String("name", file.name)
            .Integer("size", file.size)
            .String("date", FormatText("%04d/%02d/%02d", file.year, file.month, file.day))
            .String("time", FormatText("%02d:%02d:%02d", file.hour, file.minute, file.second))
            .EndObject();
    }
    json.EndArray().EndObject();
}

void WriteCommands(JsonWriter& json, const std::vector<SentCommand>& commands) {
    json.BeginArray("commands");
    for (const SentCommand& sent : commands) {
        json.BeginObject()
            .String("command", sent.command)
            .Boolean("accepted", sent.accepted)
            .String("reply", sent.reply)
            .EndObject();
    }
    json.EndArray();
}

void WriteCompass(JsonWriter& json, const CompassNote& compass) {
    json.BeginObject("compass");
    WriteTime(json, "shownAt", compass.shownAt);
    json.Boolean("scored", compass.scored);
    if (compass.scored) {
        json.BeginObject("horizontal")
            .Integer("score", compass.horizontal)
            .String("rating", compass.horizontalWord)
            .EndObject()
            .BeginObject("vertical")
            .Integer("score", compass.vertical)
            .String("rating", compass.verticalWord)
            .EndObject()
            .BeginObject("field")
            .Number("strength", compass.field)
            .String("rating", compass.fieldWord)
            .EndObject();
    }
    json.EndObject();
}

void WriteBeams(JsonWriter& json, const BeamNote& beams) {
    json.BeginObject("beamDiagnostics");
    WriteTime(json, "shownAt", beams.shownAt);
    json.Integer("ping", beams.ping)
        .Boolean("averaged", beams.averaged)
        .String("horizontalCaption", beams.horizontalCaption)
        .Number("horizontalSpan", beams.horizontalSpan)
        .Numbers("range", beams.range)
        .BeginArray("beams");
    for (const BeamNoteRow& beam : beams.beams) {
        json.BeginObject()
            .Integer("noise", beam.noise)
            .Integer("peakPosition", beam.peakPosition)
            .Integer("peakLevel", beam.peakLevel)
            .Numbers("amplitude", beam.amplitude)
            .EndObject();
    }
    json.EndArray().EndObject();
}

}  // namespace

std::string RecordJson(const DeploymentRecord& record) {
    JsonWriter json;
    json.BeginObject().Integer("format", kRecordFormat).String("brennix", record.version);
    WriteTime(json, "written", record.writtenAt);
    json.BeginObject("connection")
        .String("port", record.connection.port)
        .Integer("rate", record.connection.rate)
        .Integer("rs485Address", record.connection.rs485Address)
        .EndObject();
    WriteInstrument(json, record);
    WriteDeployment(json, record);
    json.String("units", record.units);
    WritePage(json, "deployPage", record.deployPage);
    WritePage(json, "advancedPage", record.advancedPage);
    json.String("daysRemaining", record.daysRemaining);
    if (record.recorder) {
        WriteRecorder(json, *record.recorder);
    }
    WriteCommands(json, record.commands);
    if (record.compass) {
        WriteCompass(json, *record.compass);
    }
    if (record.beamDiagnostics) {
        WriteBeams(json, *record.beamDiagnostics);
    }
    return json.EndObject().Text();
}

}  // namespace brennix
