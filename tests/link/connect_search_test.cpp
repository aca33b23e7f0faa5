#include "link/connect_search.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/simulated_device.h"
#include "sim/simulated_instrument.h"
#include "support/scripted_ui_host.h"

namespace brennix {
namespace {

// Several named ports, each wired to its own simulated instrument; a name not in the bank
// cannot be opened.
class PortBank : public SerialDevice {
  public:
    explicit PortBank(Clock& clock) : clock_(clock) {}

    sim::SimulatedInstrument& Add(const std::string& name, uint32_t baudRate) {
        return ports_.try_emplace(name, sim::Settings{.baudRate = baudRate}, clock_)
            .first->second.instrument;
    }
    SimulatedDevice& Device(const std::string& name) { return ports_.at(name).device; }

    // A driver that cannot set the rate asked for and keeps this one instead; 0: keeps any.
    uint32_t keptRate = 0;

    bool Open(const std::string& name) override {
        const auto port = ports_.find(name);
        current_ = port == ports_.end() ? nullptr : &port->second.device;
        return current_ != nullptr && current_->Open(SimulatedDevice::kPortName);
    }
    void Close() override {
        if (current_ != nullptr)
            current_->Close();
    }
    bool IsOpen() const override { return current_ != nullptr && current_->IsOpen(); }
    bool GetState(SerialState& state) override {
        const bool ok = current_->GetState(state);
        state.baudRate = keptRate != 0 ? keptRate : state.baudRate;
        return ok;
    }
    bool SetState(const SerialState& state) override { return current_->SetState(state); }
    bool SetQueueSizes(size_t receive, size_t transmit) override {
        return current_->SetQueueSizes(receive, transmit);
    }
    bool BytesWaiting(uint32_t& count) override { return current_->BytesWaiting(count); }
    bool BytesPending(uint32_t& count) override { return current_->BytesPending(count); }
    bool Read(uint8_t* buffer, size_t count, size_t& done) override {
        return current_->Read(buffer, count, done);
    }
    bool Write(const uint8_t* data, size_t count, size_t& done) override {
        return current_->Write(data, count, done);
    }
    bool Purge(uint32_t flags) override { return current_->Purge(flags); }
    bool SetBreak(bool on) override { return current_->SetBreak(on); }
    bool Exists(const std::string& name) override { return ports_.count(name) > 0; }
    int LastError() const override { return current_ == nullptr ? ENOENT : current_->LastError(); }
    std::string LastErrorMessage() const override { return std::strerror(LastError()); }

  private:
    struct Port {
        Port(const sim::Settings& settings, Clock& clock)
            : instrument(settings), device(instrument, clock) {}
        sim::SimulatedInstrument instrument;
        SimulatedDevice device;
    };

    Clock& clock_;
    std::map<std::string, Port> ports_;
    SimulatedDevice* current_ = nullptr;
};

class ConnectSearchTest : public ::testing::Test {
  protected:
    ConnectSearchTest() {
        search.SetStatusCallback([this](const std::string& text) {
            statuses.push_back(text);
            statusTicks.push_back(clock.TickCount());
        });
    }

    VirtualClock clock{1000};
    test::ScriptedUiHost ui{clock};
    PortBank ports{clock};
    CSerialLink link{ports, clock};
    CConnectSearch search{link, clock, ui};
    std::vector<std::string> statuses;
    std::vector<uint32_t> statusTicks;
};

TEST_F(ConnectSearchTest, AutoRateBreaksAtBaseRateThenProbesInOrderUntilThePromptAnswers) {
    ports.Add("COM2:", 19200);
    uint32_t waited = 0;
    search.SetWaitFunction([&](uint32_t ms) {
        waited += ms;
        clock.Sleep(ms);
    });

    ASSERT_TRUE(search.Connect("COM2:", CConnectSearch::kAutoRate));

    EXPECT_EQ(search.ConnectedRate(), 19200u);
    EXPECT_TRUE(search.Probed());
    EXPECT_EQ(statuses, (std::vector<std::string>{"Connecting to COM2: at 9600",
                                                  "Connecting to COM2: at 19200"}));
    const auto& breaks = ports.Device("COM2:").BreakTicks();
    ASSERT_EQ(breaks.size(), 1u);
    EXPECT_GE(statusTicks[0] - breaks[0], CConnectSearch::kBreakMs + CConnectSearch::kRateSettleMs);
    SerialState state;
    ASSERT_TRUE(link.GetState(state));
    EXPECT_EQ(state.baudRate, 19200u);
    // The BREAK's own timing is a link wait; the pauses are the search's. Both go through the
    // caller's wait function during the search, and only then.
    EXPECT_GE(waited, 100 + CConnectSearch::kBreakMs + CConnectSearch::kRateSettleMs +
                          CConnectSearch::kProbeSettleMs);
    const uint32_t before = waited;
    link.Wait(10);
    EXPECT_EQ(waited, before);
}

TEST_F(ConnectSearchTest, DirectConnectionNeedsNoInstrumentAndSendsNothing) {
    sim::SimulatedInstrument& instrument = ports.Add("COM1:", 9600);
    instrument.GetFaults().silent = true;

    ASSERT_TRUE(search.Connect("COM1:", 4800));

    EXPECT_FALSE(search.Probed());
    EXPECT_EQ(search.ConnectedRate(), 4800u);
    EXPECT_TRUE(instrument.Received().empty());
    EXPECT_TRUE(ports.Device("COM1:").BreakTicks().empty());
}

TEST_F(ConnectSearchTest, PortThatCannotBeOpenedOrDoesNotKeepTheRateFails) {
    EXPECT_FALSE(search.Connect("COM7:", 9600));
    const std::string status = "Unable to connect to 'COM7:' (" + std::to_string(ENOENT) + ")";
    EXPECT_EQ(statuses.back(), status);
    EXPECT_EQ(search.OpenFailure(), status + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(link.IsOpen());

    ports.Add("COM1:", 9600);
    ports.keptRate = 9600;
    EXPECT_FALSE(search.Connect("COM1:", 128000));
    EXPECT_EQ(statuses.back().rfind("Unable to connect to 'COM1:'", 0), 0u);
}

TEST_F(ConnectSearchTest, AutoPortStopsAtAMissingPortAndOtherwiseBreaksEachUntilOneAnswers) {
    ports.Add("COM3:", 9600);
    search.SetAutoPorts({"COM1:", "COM3:"});
    EXPECT_FALSE(search.Connect(CConnectSearch::kAutoPort, 9600));
    EXPECT_TRUE(ports.Device("COM3:").BreakTicks().empty());
    EXPECT_TRUE(statuses.empty());
    EXPECT_EQ(search.OpenFailure().rfind("Unable to connect to 'COM1:'", 0), 0u);

    ports.Add("COM1:", 9600).GetFaults().silent = true;
    ASSERT_TRUE(search.Connect(CConnectSearch::kAutoPort, 9600));

    EXPECT_EQ(search.ConnectedPort(), "COM3:");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Connecting to COM1: at 9600",
                                                  "Connecting to COM3: at 9600"}));
    EXPECT_EQ(ports.Device("COM1:").BreakTicks().size(), 1u);
    ASSERT_EQ(ports.Device("COM3:").BreakTicks().size(), 1u);
    EXPECT_GE(statusTicks[1] - ports.Device("COM3:").BreakTicks()[0],
              CConnectSearch::kBreakMs + CConnectSearch::kPortSettleMs);
}

// The caller's wait function is where its Cancel button gets pressed.
TEST_F(ConnectSearchTest, CancelEndsTheSearchAtTheNextWait) {
    ports.Add("COM2:", 300);
    struct Case {
        const char* when;
        uint32_t afterMs;
        size_t statusLines;
    };
    for (const Case& c : {Case{"during the pause after the BREAK", 1000, 0},
                          Case{"during the first probe", 4500, 1}}) {
        statuses.clear();
        const uint32_t start = clock.TickCount();
        search.SetWaitFunction([&](uint32_t ms) {
            clock.Sleep(ms);
            if (clock.TickCount() - start >= c.afterMs)
                search.RequestCancel();
        });

        EXPECT_FALSE(search.Connect("COM2:", CConnectSearch::kAutoRate)) << c.when;

        EXPECT_TRUE(search.Cancelled()) << c.when;
        EXPECT_EQ(statuses.size(), c.statusLines) << c.when;
        EXPECT_LT(clock.TickCount() - start, c.afterMs + 2500) << c.when;
    }
}

}  // namespace
}  // namespace brennix
