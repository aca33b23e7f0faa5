#include "link/prompt_probe.h"

#include <array>

namespace brennix {

namespace {

constexpr uint32_t kWriteTimeoutMs = 1000;
constexpr size_t kReplySize = 100;
constexpr uint32_t kPromptMs = 2000;

}  // namespace

bool ProbePrompt(CSerialLink& link) {
    link.FlushInput(false);
    if (!link.Write(" ", kWriteTimeoutMs, true)) {
        return false;
    }
    std::array<char, kReplySize> reply{};
    return link.ReadUntil(reply, ">", kPromptMs, '\0', true);
}

}  // namespace brennix
