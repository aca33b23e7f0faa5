// How long a 512-cell diagnostic frame takes to decode and work out, and the visible plot to
// redraw at 1280 × 800, in processor time of this thread, so that other work on a shared machine
// does not count. Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/diagnostics_bench
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "diagnostics/beam_processor.h"
#include "diagnostics/frame_decoder.h"
#include "diagnostics/gui/plot_widget.h"
#include "sim/diagnostic_frame.h"

namespace {

constexpr int kRounds = 2000;
constexpr int kRedraws = 200;

// Processor time this thread has used, in milliseconds.
class CpuTimer {
  public:
    CpuTimer() { restart(); }
    void restart() { start_ = Now(); }
    double elapsedMs() const { return Now() - start_; }

  private:
    static double Now() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }
    double start_ = 0;
};

std::vector<uint8_t> FullFrame() {
    brennix::sim::Settings settings;
    settings.cpuVersion = 60;
    settings.frequencyCode = 0;  // 3000 kHz: 512 cells
    const brennix::sim::ConfigBlocks blocks(settings);
    const std::string frame = brennix::sim::DiagnosticFrame::Build(settings.model, blocks, 1,
                                                                   brennix::sim::FrameFault::kNone);
    std::vector<uint8_t> received = {'A', 'm', 'p', '\r', '\n'};
    received.insert(received.end(), frame.begin(), frame.end());
    return received;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    using namespace brennix;
    const std::vector<uint8_t> received = FullFrame();
    const FrameRules rules{.compareChecksum = true, .frequencyKhz = 3000.0};
    BeamProcessor processor;
    processor.SetAveraging(true);
    std::shared_ptr<const EcholuxSnapshot> snapshot;
    CpuTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        const auto frame = DecodeInstrumentFrame(received, rules);
        snapshot = std::make_shared<const EcholuxSnapshot>(processor.Process(frame.value()));
    }
    const double decodeUs = timer.elapsedMs() * 1000.0 / kRounds;

    CPlotWnd plot(Qt::black, QColor(96, 96, 96), false, 0);
    plot.resize(1280, 800);
    plot.SetHorizontalSpan(0, 22, 5);
    plot.SetVerticalSpan(0, 0, 250, 50, 1);
    QImage screen(1280, 800, QImage::Format_RGB32);
    QPainter painter(&screen);
    const QColor colours[] = {Qt::red, Qt::blue, Qt::green};
    const auto newFrame = [&] {
        std::vector<PlotSeries> series;
        for (size_t beam = 0; beam < kBeamCount; ++beam) {
            series.push_back({std::vector<float>(snapshot->amplitude[beam].begin(),
                                                 snapshot->amplitude[beam].begin() + 512),
                              {},
                              colours[beam],
                              0});
        }
        plot.SetSeries(std::move(series),
                       std::vector<float>(snapshot->range.begin(), snapshot->range.begin() + 512));
    };
    // A new frame: the data layer only, then painting.
    timer.restart();
    for (int round = 0; round < kRedraws; ++round) {
        newFrame();
        plot.render(&painter);
    }
    const double frameMs = timer.elapsedMs() / kRedraws;
    // Everything: both layers rebuilt, then painting.
    timer.restart();
    for (int round = 0; round < kRedraws; ++round) {
        newFrame();
        plot.Redraw();
        plot.render(&painter);
    }
    const double fullMs = timer.elapsedMs() / kRedraws;
    // A repaint with nothing changed only combines the cached layers.
    timer.restart();
    for (int round = 0; round < kRedraws; ++round) {
        plot.render(&painter);
    }
    const double repaintMs = timer.elapsedMs() / kRedraws;
    std::printf("decode + figures of a 512-cell frame: %.1f us\n", decodeUs);
    std::printf("plot at 1280x800, new frame (data layer, paint): %.2f ms\n", frameMs);
    std::printf("plot at 1280x800, full redraw (grid and data layers, paint): %.2f ms\n", fullMs);
    std::printf("plot at 1280x800, repaint from the cached layers: %.2f ms\n", repaintMs);
    std::printf("decode, figures and full redraw together: %.2f ms\n", decodeUs / 1000.0 + fullMs);
    return 0;
}
