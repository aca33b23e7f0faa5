#pragma once

#include "sim/command_interpreter.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The commands the setup sheet relies on beyond the settings themselves: "enablewaves" answers
// "YES" on an instrument with the wave option and "NO" otherwise. ("SaveSetup", the settings,
// "deploy" and "sample" are part of the command line.)
void RegisterSetupCommands(CommandInterpreter& interpreter, const Settings& settings);

}  // namespace brennix::sim
