#include "platform/new_file.h"

namespace brennix {

std::FILE* OpenNewFile(const std::string& path) {
    return std::fopen(path.c_str(), "wbx");
}

}  // namespace brennix
