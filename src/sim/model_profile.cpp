#include "sim/model_profile.h"

#include <algorithm>
#include <array>

namespace brennix::sim {

namespace {

constexpr std::array kProfiles = {
    ModelProfile{Model::kKtx, "KTX", "KTX", "KTX", 24, 0, "K2041"},
    ModelProfile{Model::kLmr, "LMR", "LMR", "LMR", 16, 5, "L0317"},
    ModelProfile{Model::kMirovan, "Mirovan", "Mirovan", "MRV", 38, 4, "M1234"},
    ModelProfile{Model::kFendrel, "Fendrel", "Fendrel", "Fndl", 42, 2, "F0562"},
    ModelProfile{Model::kMirovanAdv, "MirovanAdv", "Mirovan", "MRV", 55, 5, "M2468"},
    ModelProfile{Model::kCorvex, "Corvex", "Corvex", "Crv", 12, 3, "C0088"},
    ModelProfile{Model::kPelorin, "Pelorin", "Pelorin", "PLR", 20, 1, "P0913"},
};

constexpr std::array<std::string_view, 6> kSystemTypeNames = {"QZ", "VW", "JQ", "ZK", "WX", "LMR"};

}  // namespace

const ModelProfile& ProfileOf(Model model) {
    const auto it = std::find_if(kProfiles.begin(), kProfiles.end(),
                                 [model](const ModelProfile& p) { return p.model == model; });
    return it != kProfiles.end() ? *it : kProfiles[2];
}

std::span<const ModelProfile> AllProfiles() {
    return kProfiles;
}

std::string_view SystemTypeName(uint8_t systemType) {
    return systemType < kSystemTypeNames.size() ? kSystemTypeNames[systemType] : "?";
}

}  // namespace brennix::sim
