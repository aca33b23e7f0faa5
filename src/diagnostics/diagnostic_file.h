#pragma once

#include <cstdio>
#include <memory>

namespace brennix {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open recording or playback stream; closed when dropped.
using DiagnosticFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace brennix
