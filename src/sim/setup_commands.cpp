#include "sim/setup_commands.h"

namespace brennix::sim {

void RegisterSetupCommands(CommandInterpreter& interpreter, const Settings& settings) {
    interpreter.Register({"enablewaves"}, [&settings](std::string_view, int64_t) {
        return CommandInterpreter::Answer(settings.waveOption ? "YES\r\n" : "NO\r\n");
    });
}

}  // namespace brennix::sim
