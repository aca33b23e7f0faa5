#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "instrument/instrument.h"
#include "instrument/setup_record.h"
#include "instrument/unit_system.h"
#include "platform/ui_host.h"
#include "setup/setting_steps.h"
#include "setup/setup_controls.h"

namespace brennix {

// The setup sheet without its windows: the record read when it opened, what every control holds,
// the flag that says the instrument took a setting not yet saved, and the pages' load, leave and
// save. The desktop's pages show it and tell it what the technician types; the console sets its
// values from the command line. Both run the same rules and send the same commands.
class SetupSheet {
  public:
    static constexpr uint32_t kSettingTimeoutMs = 15000;
    static constexpr size_t kReplySize = 1000;
    static constexpr size_t kWavesReplySize = 500;
    static constexpr uint32_t kWavesReplyMs = 1000;

    // How the recorder's free bytes are read: the recorder feature's business, handed in.
    using FreeSpaceReader = std::function<std::optional<uint64_t>(CInstrument& instrument)>;

    // record and instrument are borrowed for the sheet's life.
    SetupSheet(SetupRecord& record, CInstrument& instrument, UiHost& ui, UnitSystem units,
               FreeSpaceReader readFreeSpace);

    SetupRecord& Record() { return record_; }
    const SetupRecord& Record() const { return record_; }
    CInstrument& Instrument() { return instrument_; }
    UiHost& Ui() { return ui_; }
    UnitSystem Units() const { return units_; }
    // The instrument accepted a setting that "SaveSetup" has not kept yet.
    bool Modified() const { return modified_; }

    // The controls: what each holds, its list entries, and whether the technician may change it
    // (an enabled, writable control) as the page rules have it for the values held now.
    const std::string& Value(SetupControl control) const;
    void SetValue(SetupControl control, std::string text);
    std::vector<std::string_view> Choices(SetupControl control) const;
    bool Enabled(SetupControl control) const;
    bool ReadOnly(SetupControl control) const;
    bool Editable(SetupControl control) const { return Enabled(control) && !ReadOnly(control); }
    // The instrument answered "YES" to "enablewaves" when the Advanced page was first shown.
    bool WavesAvailable() const { return wavesAvailable_; }

    // A page becomes the active one: the first time it runs its initialisation (the Advanced page
    // asks the instrument about waves), then it loads the record into its controls; the Deploy
    // page also reads the recorder's space while it is not known.
    void ShowPage(SetupPage page);
    std::optional<SetupPage> ActivePage() const { return active_; }
    // The page's rules on what its controls hold; nothing is sent.
    std::optional<Refusal> CheckPage(SetupPage page) const;
    // Writes every control the technician changed that differs from the record, in the page's
    // order; stops at the first refusal.
    std::optional<Refusal> SavePage(SetupPage page);
    // The page is being left: check, save, then "SaveSetup" when anything was taken.
    std::optional<Refusal> LeavePage(SetupPage page);

    // The SDI-12 deployment dialog's controls, fresh from the record, and its save.
    void OpenSdi12Dialog();
    std::optional<Refusal> SaveSdi12Dialog();

    // The recorder's free bytes, none while they are not known; read them (again).
    std::optional<uint64_t> FreeRecorderBytes() const { return freeBytes_; }
    bool ReadRecorderSpace();
    // The days text for the intervals as typed now.
    std::string DaysRemaining() const;

    // One setting: sent and, once the instrument says "OK", counted as modified. The reply holds
    // "Unknown Error " when the instrument said nothing at all.
    struct WriteOutcome {
        bool accepted = false;
        std::string reply;
    };
    WriteOutcome WriteSetting(const std::string& command);
    void SaveSetupIfModified();
    // Told of every setting written and whether it was taken, for a console that lists them.
    using WriteListener = std::function<void(const std::string& command, bool accepted)>;
    void SetWriteListener(WriteListener listener) { writeListener_ = std::move(listener); }

  private:
    void Load(const ControlValues& values);
    std::optional<Refusal> RunSteps(std::span<const SettingStep> steps);
    bool AskWavesAvailable();
    int SelectedIndex(SetupControl control) const;

    SetupRecord& record_;
    CInstrument& instrument_;
    UiHost& ui_;
    UnitSystem units_;
    bool modified_ = false;
    bool wavesAvailable_ = false;
    std::optional<SetupPage> active_;
    std::set<SetupPage> initialised_;
    ControlValues values_;
    ControlValues shown_;
    FreeSpaceReader readFreeSpace_;
    std::optional<uint64_t> freeBytes_;
    WriteListener writeListener_;
};

}  // namespace brennix
