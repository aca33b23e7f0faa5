#pragma once

namespace brennix {

// One signed code space: below 2 a failure, 2 and above a model (2 is also a plain wake-up).
enum InstrumentError : int {
    kFailToWakeUpInstrument5 = -6,
    kFailToWakeUpInstrument4 = -5,
    kFailToWakeUpInstrument3 = -4,
    kFailToWakeUpInstrument2 = -3,
    kFailToWakeUpInstrument1 = -2,
    kSystemIsInSDI12Mode = -1,
    kFailToWakeUp = 0,
    kNoResponce = 1,
};

enum InstrumentModel : int {
    kKTX = 2,
    kLMR = 3,
    kMirovan = 4,
    kFendrel = 5,
    kMirovanAdv = 6,
    kCorvex = 7,
    kPelorin = 8,
};

inline bool IsInstrument(int code) {
    return code >= kKTX;
}

// The enumerator's name ("kMirovan", "kFailToWakeUpInstrument5", ...), or "unknown".
const char* InstrumentCodeName(int code);

// In words, what the wake-up tried and where it failed, for a failure code (below 2).
const char* WakeUpFailureText(int code);

}  // namespace brennix
