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

}  // namespace brennix
