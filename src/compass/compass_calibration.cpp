#include "compass/compass_calibration.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace brennix {

CCompassCalibration::CCompassCalibration(CInstrument& instrument)
    : instrument_(instrument), link_(*instrument.GetLink()) {}

bool CCompassCalibration::Init() {
    return instrument_.CommandOk("compass init", kInitTimeoutMs);
}

bool CCompassCalibration::Start() {
    if (calibrating_) {
        return false;
    }
    link_.Write("compass cal\r", kStartWriteMs, false);
    calibrating_ = true;
    return true;
}

std::optional<Attitude> CCompassCalibration::ReadAttitude() {
    if (!DropBacklog(0) || !ReadWaiting(replyText_, SIZE_MAX)) {
        return std::nullopt;
    }
    if (replyText_.size() > kReplyTextLimit) {
        replyText_.erase(0, replyText_.size() - kReplyTextLimit);
    }
    return ParseAttitude(replyText_);
}

std::optional<CompassScores> CCompassCalibration::Finish() {
    calibrating_ = false;
    link_.Write(" ", kStopWriteMs, true);
    link_.Waits().Wait(kScoreWaitMs);
    std::string reply;
    if (!DropBacklog(kBacklogPauseMs) || !ReadWaiting(reply, kScoreBufferSize - 1)) {
        return std::nullopt;
    }
    return ParseScores(reply);
}

bool CCompassCalibration::DropBacklog(uint32_t pauseMs) {
    std::array<uint8_t, kBacklogChunk> chunk{};
    while (link_.BytesWaiting() > kBacklogLimit) {
        size_t done = 0;
        if (!link_.Read(chunk, done, 0, true)) {
            return false;
        }
        if (pauseMs > 0) {
            link_.Waits().Wait(pauseMs);
        }
    }
    return true;
}

bool CCompassCalibration::ReadWaiting(std::string& text, size_t limit) {
    const size_t wanted = std::min<size_t>(link_.BytesWaiting(), limit);
    std::string chunk(wanted, '\0');
    size_t done = 0;
    if (wanted > 0 &&
        !link_.Read(std::span(reinterpret_cast<uint8_t*>(chunk.data()), wanted), done, 0, true)) {
        return false;
    }
    text.append(chunk, 0, done);
    return true;
}

}  // namespace brennix
