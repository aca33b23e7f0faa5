#include "instrument/instrument_codes.h"

namespace brennix {

const char* InstrumentCodeName(int code) {
    switch (code) {
        case kFailToWakeUpInstrument5:
            return "kFailToWakeUpInstrument5";
        case kFailToWakeUpInstrument4:
            return "kFailToWakeUpInstrument4";
        case kFailToWakeUpInstrument3:
            return "kFailToWakeUpInstrument3";
        case kFailToWakeUpInstrument2:
            return "kFailToWakeUpInstrument2";
        case kFailToWakeUpInstrument1:
            return "kFailToWakeUpInstrument1";
        case kSystemIsInSDI12Mode:
            return "kSystemIsInSDI12Mode";
        case kFailToWakeUp:
            return "kFailToWakeUp";
        case kNoResponce:
            return "kNoResponce";
        case kKTX:
            return "kKTX";
        case kLMR:
            return "kLMR";
        case kMirovan:
            return "kMirovan";
        case kFendrel:
            return "kFendrel";
        case kMirovanAdv:
            return "kMirovanAdv";
        case kCorvex:
            return "kCorvex";
        case kPelorin:
            return "kPelorin";
        default:
            return "unknown";
    }
}

const char* WakeUpFailureText(int code) {
    switch (code) {
        case kFailToWakeUpInstrument5:
            return "the port is not open, or the instrument's answer to \"Ver\" names no model "
                   "Brennix knows";
        case kFailToWakeUpInstrument4:
            return "a blank line, a BREAK and ten plus signs brought no prompt \">\", and "
                   "\"Ver\" was not taken";
        case kFailToWakeUpInstrument3:
            return "the instrument reported its compass but gave no prompt within 15 s";
        case kFailToWakeUpInstrument2:
            return "the port could not send a BREAK";
        case kFailToWakeUpInstrument1:
            return "the port could not be purged or written to";
        case kSystemIsInSDI12Mode:
            return "the instrument is in SDI-12 mode";
        default:
            return "the instrument did not wake";
    }
}

}  // namespace brennix
