#include "sim/model_names.h"

#include "sim/model_profile.h"
#include "sim/text_case.h"

namespace brennix::sim {

std::optional<Model> ParseModelName(std::string_view name) {
    for (const ModelProfile& profile : AllProfiles()) {
        if (EqualsIgnoringCase(profile.name, name)) {
            return profile.model;
        }
    }
    return std::nullopt;
}

std::string ModelNameList() {
    std::string names;
    for (const ModelProfile& profile : AllProfiles()) {
        names += (names.empty() ? "" : ", ") + std::string(profile.name);
    }
    return names;
}

}  // namespace brennix::sim
