#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

inline constexpr std::string_view kSimUsage =
    "usage: brennix-sim [--baud N] [--model NAME] [--asleep] [--sdi12] [--rs485 N] [--compass]\n"
    "                   [--firmware V] [--fault FAULT]... [--recorder-dir DIR] [RECORDER FAULTS]\n"
    "                   [--transcript FILE] [--bus ADDRESS:MODEL,...]\n"
    "                   [--listen tcp:PORT|rfc2217:PORT] [--noise BER [--noise-all]] [--seed N]\n"
    "       brennix-sim --help | --version\n"
    "  NAME: KTX, LMR, Mirovan, Fendrel, MirovanAdv, Corvex, Pelorin\n"
    "  N for --rs485: an address from 1 to 15\n"
    "  V: the firmware version times 10 (38 for 3.8), 1 to 255\n"
    "  FAULT: no-compass, no-compass-score, frame-checksum, frame-truncated, frame-cells\n"
    "  DIR: a folder whose files the recorder holds (names of up to 12 characters)\n"
    "  FILE: a record of the line's traffic, both ways, one line per line sent\n"
    "  --bus 2:kMirovan,5:kKTX: several instruments on one RS-485 pair, by address\n"
    "  --listen: serve on a TCP port of 127.0.0.1 (0: any free one), raw or RFC 2217\n"
    "  --noise 1e-5: a noisy line, each bit of the recorder's block frames flipped with that\n"
    "    probability; with --noise-all, each bit of everything it sends\n"
    "  --seed N: the line faults repeat for the same N (a fixed seed when not given)\n"
    "hardware: [--system-type QZ|VW|JQ|ZK|WX|LMR] [--frequency 3|1.5 (MHz)]\n"
    "          [--without compass|sdi12|start-date] [--with ext-pressure|waves]\n"
    "          [--recorder-nearly-full]\n"
    "recorder faults (blocks count from 0 in each transfer):\n"
    "  --bad-checksum-block N [--bad-checksum-sends K]   spoil block N's checksum K times\n"
    "  --drop-block N                 leave block N out the first time it is asked for\n"
    "  --stall-after N                hang after N blocks until woken\n"
    "  --reject-download              answer \"download\" with an error\n"
    "  --refuse-baud                  answer \"BAUD 0 N\" with an error\n";

// The instrument that the arguments of brennix-sim describe (without the program name); none,
// with the reason in error, when they are not understood. The fault options go into faults,
// when given.
std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error,
                                          Faults* faults = nullptr);

}  // namespace brennix::sim
