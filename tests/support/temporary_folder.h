#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace brennix::testing_support {

// A new, empty folder of the test's own below the system's temporary folder (ctest runs cases
// side by side, and other runs of the suite may too), named prefix-<random>.
inline std::filesystem::path MakeTemporaryFolder(const std::string& prefix) {
    std::random_device random;
    for (;;) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder)) {
            return folder;
        }
    }
}

}  // namespace brennix::testing_support
