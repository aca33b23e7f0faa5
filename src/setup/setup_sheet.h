#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "instrument/recorder_listing.h"
#include "instrument/setup_record.h"
#include "instrument/unit_system.h"
#include "setup/setup_controls.h"

namespace brennix {

// The setup sheet without its windows and without the line: the record read when it opened, what
// every control holds and what its page showed, the flag that says the instrument took a setting
// not yet saved, the recorder as last read, and the pages' rules. The setup service exchanges
// with the instrument on it; the desktop's pages show it and the console lists it.
//
// Threads: the setup service's job works on the sheet; its owner reads or changes it only while
// no job runs, or while the job waits for an answer to one of its questions.
class SetupSheet {
  public:
    SetupSheet(const SetupRecord& record, UnitSystem units);

    SetupRecord& Record() { return record_; }
    const SetupRecord& Record() const { return record_; }
    UnitSystem Units() const { return units_; }
    // The instrument accepted a setting that "SaveSetup" has not kept yet.
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The controls: what each holds, its list entries, and whether the technician may change it
    // (an enabled, writable control) as the page rules have it for the values held now.
    const std::string& Value(SetupControl control) const;
    void SetValue(SetupControl control, std::string text);
    // What the control showed when its page or dialog last loaded.
    const std::string& Shown(SetupControl control) const;
    std::vector<std::string_view> Choices(SetupControl control) const;
    int SelectedIndex(SetupControl control) const;
    bool Enabled(SetupControl control) const;
    bool ReadOnly(SetupControl control) const;
    bool Editable(SetupControl control) const { return Enabled(control) && !ReadOnly(control); }
    // The instrument answered "YES" to "enablewaves" when the Advanced page was first shown.
    bool WavesAvailable() const { return wavesAvailable_; }
    void SetWavesAvailable(bool available) { wavesAvailable_ = available; }

    // True the first time the page is shown: its initialisation runs then.
    bool FirstShowing(SetupPage page) { return initialised_.insert(page).second; }
    // The page becomes the active one and loads the record into its controls.
    void LoadPage(SetupPage page);
    std::optional<SetupPage> ActivePage() const { return active_; }
    // The page's rules on what its controls hold; nothing is sent.
    std::optional<Refusal> CheckPage(SetupPage page) const;
    // Every load and save of the Advanced page keeps only bit 0 of the wave option byte.
    void ClearWaveExtras();
    // The SDI-12 deployment dialog's controls, fresh from the record.
    void LoadSdi12Dialog();

    // The recorder as last read, and its free bytes; none while not known.
    const std::optional<RecorderListing>& Recorder() const { return recorder_; }
    void SetRecorder(std::optional<RecorderListing> recorder) { recorder_ = std::move(recorder); }
    std::optional<uint64_t> FreeRecorderBytes() const;
    // The days text for the intervals as typed now.
    std::string DaysRemaining() const;

  private:
    void Load(const ControlValues& values);

    SetupRecord record_;
    UnitSystem units_;
    bool modified_ = false;
    bool wavesAvailable_ = false;
    std::optional<SetupPage> active_;
    std::set<SetupPage> initialised_;
    ControlValues values_;
    ControlValues shown_;
    std::optional<RecorderListing> recorder_;
};

// The home whose controls a page saves; none for a page that only shows.
std::optional<ControlHome> HomeOf(SetupPage page);

}  // namespace brennix
