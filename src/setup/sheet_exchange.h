#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "instrument/recorder_listing.h"
#include "script/worker_session.h"
#include "setup/setup_result.h"
#include "setup/setup_sheet.h"

namespace brennix {

// The setup sheet's exchanges with the instrument, on a job's thread with the job's own
// instrument: a page's initialisation, the saves and "SaveSetup", the recorder's space. Every
// command sent is noted with what came back.
class SheetExchange {
  public:
    static constexpr uint32_t kSettingTimeoutMs = 15000;
    static constexpr size_t kReplySize = 1000;
    static constexpr size_t kWavesReplySize = 500;
    static constexpr uint32_t kWavesReplyMs = 1000;

    // Every command sent is added to sent.
    SheetExchange(SetupSheet& sheet, WorkerSession& worker, std::vector<SentCommand>& sent);

    SetupSheet& Sheet() { return sheet_; }
    CInstrument& Instrument() { return instrument_; }

    // The page becomes the active one: the first time it runs its initialisation (the Advanced
    // page asks the instrument about waves), then it loads the record into its controls.
    void ShowPage(SetupPage page);
    // The same when the technician goes to the page: the Deploy page also reads the recorder's
    // space while it is not known.
    void EnterPage(SetupPage page);
    // Writes every control of the home the technician changed that differs from the record, in
    // its save order; stops at the first refusal.
    std::optional<Refusal> Save(ControlHome home);
    std::optional<Refusal> SavePage(SetupPage page);
    // The page is being left: check, save, then "SaveSetup" when anything was taken.
    std::optional<Refusal> LeavePage(SetupPage page);
    void SaveSetupIfModified();
    bool ReadRecorderSpace();
    // A command sent with SendCommand (prompt ">", located first), noted with its echo.
    bool Send(const std::string& command);

  private:
    // One setting: sent and, once the instrument says "OK", counted as modified. The reply holds
    // "Unknown Error " when the instrument said nothing at all.
    SentCommand WriteSetting(const std::string& command);
    bool AskWavesAvailable();

    SetupSheet& sheet_;
    CInstrument& instrument_;
    CInstrument::CommandSender typedLine_;
    std::vector<SentCommand>& sent_;
};

}  // namespace brennix
