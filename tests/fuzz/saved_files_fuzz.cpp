// The files a program reads back from an earlier run, whatever became of them: the terminal's
// command history "cmd.ini" (at most 30 lines, long lines in pieces) and the settings file
// Brennix.conf, every key read through the settings interface both programs use.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "desktop/command_history.h"
#include "platform/qt_settings.h"

namespace {

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path made =
            std::filesystem::temp_directory_path() /
            ("brennix-saved-files-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made / "Ostrel");
        setenv("XDG_CONFIG_HOME", made.c_str(), 1);
        return made;
    }();
    return folder;
}

void Write(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace brennix;
    const std::filesystem::path history = Folder() / "cmd.ini";
    Write(history, data, size);
    CommandHistory commands;
    commands.Load(history.string());
    if (commands.Entries().size() > CommandHistory::kMaxSaved) {
        __builtin_trap();
    }
    commands.Add("Ver");
    commands.Save(history.string());

    Write(Folder() / "Ostrel" / "Brennix.conf", data, size);
    QtSettings settings;
    for (const IntSetting& key : {settings::kUnitSystem, settings::kTerminalFont,
                                  settings::kConnectAddress, settings::kDownloadRate}) {
        settings.Read(key);
    }
    for (const TextSetting& key :
         {settings::kLogFolder, settings::kCommandFileFolder, settings::kRecordingFolder,
          settings::kConnectPort, settings::kConnectRate}) {
        settings.Read(key);
    }
    return 0;
}
