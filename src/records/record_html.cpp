#include "records/record_html.h"

#include "platform/number_text.h"
#include "records/amplitude_plot.h"
#include "records/record_time.h"
#include "records/text_encoding.h"

namespace brennix {

namespace {

// Cell padding in pixels: the program's own viewer (Qt rich text) takes no other unit for it, and
// without it runs the cells together.
constexpr const char* kStyle = R"(
@page { size: A4; margin: 11mm 12mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 8.5pt; color: #000;
       margin: 0 auto; max-width: 186mm; }
h1 { font-size: 15pt; margin: 0 0 1mm 0; }
h2 { font-size: 9.5pt; margin: 2.5mm 0 1mm 0; border-bottom: 0.4mm solid #000; }
.lead { font-size: 10pt; margin-bottom: 1mm; }
.columns { display: flex; gap: 5mm; }
.columns > div { flex: 1; min-width: 0; }
table { border-collapse: collapse; width: 100%; }
td, th { padding: 1px 5px; text-align: left; vertical-align: top; }
th { font-weight: bold; background: #eee; }
tr:nth-child(even) td { background: #f6f6f6; }
td.n { text-align: right; }
.mono { font-family: "DejaVu Sans Mono", monospace; font-size: 7.5pt; }
.plot { text-align: center; margin-top: 1mm; }
.plot img { width: 120mm; }
.hand td { height: 6mm; border-bottom: 0.2mm solid #999; }
section { break-inside: avoid; }
)";

std::string Cell(std::string_view text, const char* kind = "td", const char* cls = nullptr) {
    const std::string open =
        std::string("<") + kind + (cls ? std::string(" class=\"") + cls + "\"" : "");
    return open + ">" + HtmlText(text) + "</" + kind + ">";
}

std::string Row(std::initializer_list<std::string_view> cells) {
    std::string row = "<tr>";
    for (const std::string_view cell : cells) {
        row += Cell(cell);
    }
    return row + "</tr>";
}

std::string Table(const std::string& rows) {
    return "<table>" + rows + "</table>";
}

std::string Section(const char* title, const std::string& body) {
    return "<section><h2>" + std::string(title) + "</h2>" + body + "</section>";
}

std::string Rows(const std::vector<RecordRow>& rows) {
    std::string html;
    for (const RecordRow& row : rows) {
        html += Row({row.label, row.text});
    }
    return html;
}

// The unit in a label's last parentheses, "ft" in "Cell begin (ft)".
std::string UnitOf(const std::string& label) {
    const size_t open = label.rfind('(');
    const size_t close = label.rfind(')');
    return open != std::string::npos && close > open ? label.substr(open + 1, close - open - 1)
                                                     : std::string();
}

// Label and metric value; in English units also the value as shown, with its unit. A label that
// repeats the one above (the start's date and time) is left blank.
std::string PageTable(const std::vector<RecordValue>& values, bool english) {
    std::string html = english ? "<tr><th>Setting</th><th>Metric</th><th>English</th></tr>" : "";
    std::string above;
    for (const RecordValue& value : values) {
        const std::string label = value.metricLabel == above ? "" : value.metricLabel;
        above = value.metricLabel;
        if (!english) {
            html += Row({label, value.metric});
            continue;
        }
        const std::string unit = UnitOf(value.shownLabel);
        const bool differs = value.shownLabel != value.metricLabel && !unit.empty();
        html += Row({label, value.metric, differs ? value.shown + " " + unit : value.shown});
    }
    return Table(html);
}

std::string Heading(const DeploymentRecord& record) {
    return "<h1>Deployment record</h1><div class=\"lead\"><b>" + HtmlText(record.model) + " " +
           HtmlText(record.serialNumber) + "</b> &mdash; " + HtmlText(ModeName(record.mode)) +
           " deployment started " + HtmlText(LocalDisplayTime(record.writtenAt)) + " (" +
           HtmlText(UtcIsoTime(record.writtenAt)) + ")</div>";
}

std::string Overview(const DeploymentRecord& record) {
    const RecordConnection& line = record.connection;
    const std::string instrument = Table(
        Row({"Model", record.model}) + Row({"Banner", record.banner}) +
        Row({"Serial number", record.serialNumber}) + Row({"System type", record.systemType}) +
        Row({"Frequency", record.frequency}) + Row({"Beams", std::to_string(record.beams)}) +
        Row({"CPU / DSP version", record.cpuVersion + " / " + record.dspVersion}));
    const std::string computer =
        Table(Row({"Local time", LocalIsoTime(record.writtenAt)}) +
              Row({"UTC", UtcIsoTime(record.writtenAt)}) + Row({"Brennix", record.version}) +
              Row({"Port", line.port}) + Row({"Rate", std::to_string(line.rate) + " baud"}) +
              Row({"RS-485 address",
                   line.rs485Address == 0 ? "none (RS-232)" : std::to_string(line.rs485Address)}));
    return "<div class=\"columns\"><div>" + Section("Instrument", instrument) + "</div><div>" +
           Section("Computer and line", computer) + "</div></div>";
}

std::string Deployment(const DeploymentRecord& record) {
    std::string rows = Row({"Mode", ModeName(record.mode)});
    if (record.sdi12) {
        const std::string& address = record.sdi12->address;
        rows += Row({"SDI-12 address",
                     address == "0" ? "0 (not sent: the instrument's own)" : address}) +
                Row({"SDI-12 output format", record.sdi12->format}) +
                Row({"SDI-12 unit system", record.sdi12->units});
    }
    rows +=
        Row({"Days of operation", record.daysRemaining}) + Row({"Unit system shown", record.units});
    return Section("Deployment", Table(rows));
}

std::string Recorder(const DeploymentRecord& record) {
    if (!record.recorder) {
        return Section("Recorder", "<p>Not read.</p>");
    }
    const RecorderListing& recorder = *record.recorder;
    std::string rows =
        Row({"Free",
             FormatText("%llu bytes", static_cast<unsigned long long>(recorder.FreeBytes()))}) +
        Row({"Used", FormatText("%llu bytes", static_cast<unsigned long long>(recorder.used))}) +
        Row({"Capacity",
             FormatText("%llu bytes", static_cast<unsigned long long>(recorder.capacity))});
    std::string files = "<tr><th>File</th><th>Size</th><th>Date</th><th>Time</th></tr>";
    for (const RecorderFileEntry& file : recorder.entries) {
        files += Row({file.name, std::to_string(file.size),
                      FormatText("%04d/%02d/%02d", file.year, file.month, file.day),
                      FormatText("%02d:%02d:%02d", file.hour, file.minute, file.second)});
    }
    if (recorder.entries.empty()) {
        files += "<tr><td colspan=\"4\">No files.</td></tr>";
    }
    return Section("Recorder before the deployment", Table(rows) + Table(files));
}

std::string Compass(const CompassNote& compass) {
    std::string rows = Row({"Shown", LocalDisplayTime(compass.shownAt)});
    if (!compass.scored) {
        rows += Row({"Scores", "none: the calibration ended without scores"});
    } else {
        rows += Row({"Horizontal score (0-9)",
                     std::to_string(compass.horizontal) + " (" + compass.horizontalWord + ")"}) +
                Row({"Vertical score (0-9)",
                     std::to_string(compass.vertical) + " (" + compass.verticalWord + ")"}) +
                Row({"Magnetic field (0-100)",
                     FixedText(compass.field, 2) + " (" + compass.fieldWord + ")"});
    }
    return Section("Compass calibration", Table(rows));
}

std::string Beams(const BeamNote& beams) {
    std::string rows = "<tr><th>Beam</th><th>Noise</th><th>" + std::string(kPeakPositionCaption) +
                       "</th><th>Level</th></tr>";
    for (size_t beam = 0; beam < beams.beams.size(); ++beam) {
        const BeamNoteRow& row = beams.beams[beam];
        rows += Row({std::to_string(beam + 1), std::to_string(row.noise),
                     std::to_string(row.peakPosition), std::to_string(row.peakLevel)});
    }
    const std::string about = "<p>Ping " + std::to_string(beams.ping) + ", shown " +
                              HtmlText(LocalDisplayTime(beams.shownAt)) +
                              (beams.averaged ? ", averaged" : "") + "</p>";
    return Section("Beam diagnostics", about + Table(rows));
}

std::string BeamPlot(const BeamNote& beams) {
    return "<div class=\"plot\"><img alt=\"Amplitude of each beam\" "
           "src=\"data:image/svg+xml;base64," +
           Base64(AmplitudePlotSvg(beams)) + "\"></div>";
}

// A setting's reply as one line; a command without one says whether it was echoed.
std::string ReplyLine(const SentCommand& sent) {
    std::string reply;
    for (const char c : sent.reply) {
        reply += c == '\r' || c == '\n' ? ' ' : c;
    }
    const size_t first = reply.find_first_not_of(' ');
    const size_t last = reply.find_last_not_of(' ');
    if (first == std::string::npos) {
        return sent.accepted ? "echoed" : "not echoed";
    }
    return reply.substr(first, last - first + 1);
}

std::string Commands(const std::vector<SentCommand>& commands) {
    std::string rows = "<tr><th>Command</th><th>Accepted</th><th>Reply</th></tr>";
    for (const SentCommand& sent : commands) {
        rows += "<tr>" + Cell(sent.command, "td", "mono") + Cell(sent.accepted ? "yes" : "NO") +
                Cell(ReplyLine(sent), "td", "mono") + "</tr>";
    }
    return Section("Commands of the deployment, in order", Table(rows));
}

// What the technician writes in by hand.
std::string FieldNotes() {
    std::string rows;
    for (const char* label : {"Site and position", "Depth", "Deployed by", "Remarks"}) {
        rows += "<tr><td style=\"width:32mm\">" + std::string(label) + "</td><td></td></tr>";
    }
    return Section("Field notes", "<table class=\"hand\">" + rows + "</table>");
}

std::string Columns(const std::string& left, const std::string& right) {
    return "<div class=\"columns\"><div>" + left + "</div><div>" + right + "</div></div>";
}

}  // namespace

std::string RecordHtml(const DeploymentRecord& record) {
    const bool english = record.units == "English";
    std::string body = Heading(record) + Overview(record);
    body += Columns(Section("Deploy page", PageTable(record.deployPage, english)),
                    Section("Advanced page", PageTable(record.advancedPage, english)));
    body += Columns(Deployment(record), Recorder(record));
    body += Columns(Section("Hardware", Table(Rows(record.hardware))),
                    Section("Options", Table(Rows(record.options))));
    if (record.compass || record.beamDiagnostics) {
        body += Columns(record.compass ? Compass(*record.compass) : std::string(),
                        record.beamDiagnostics ? Beams(*record.beamDiagnostics) : std::string());
    }
    if (record.beamDiagnostics) {
        body += BeamPlot(*record.beamDiagnostics);
    }
    body += Commands(record.commands) + FieldNotes();
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Deployment "
           "record " +
           HtmlText(record.serialNumber) + " " + HtmlText(LocalDisplayTime(record.writtenAt)) +
           "</title><style>" + kStyle + "</style></head><body>\n" + body + "\n</body></html>\n";
}

std::string HtmlText(std::string_view text) {
    std::string html;
    for (const char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
    return Utf8FromLatin1(html);
}

}  // namespace brennix
