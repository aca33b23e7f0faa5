#pragma once

#include <string>

namespace brennix {

// A command file read whole and ready to run, or why it cannot be run.
struct CommandFile {
    bool ok = false;
    // The file's bytes, without a leading UTF-8 byte-order mark, which is no part of a command.
    std::string text;
    // Why the file cannot be run: a folder, unreadable, or not text at all.
    std::string error;
};

// A file holding a NUL, DEL or a control character other than tab, CR and LF is no command text
// (an image, a program, a recorder download chosen by mistake): its bytes are not sent to the
// instrument.
CommandFile ReadCommandFile(const std::string& path);

// A refused file as the window says it, whatever took it (Run command file, the editor's Open):
// "Cannot <action> the command file", the path, and why.
std::string CommandFileRefusal(const std::string& action, const std::string& path,
                               const std::string& why);

}  // namespace brennix
