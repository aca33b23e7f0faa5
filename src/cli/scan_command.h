#pragma once

#include <cstdio>
#include <optional>

#include "cli/cli_command.h"
#include "instrument/bus_scan.h"
#include "instrument/bus_scan_job.h"

namespace brennix::cli {

// scan [--addresses 1-15]: every instrument on an RS-485 bus, one line per address with its
// model and the first line of its "Ver" answer, or "silent". Ctrl-C stops it between two
// addresses; the line is left with no address selected either way.
class ScanCommand : public CliCommand, private BusScanListener {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    void OnScanning(uint32_t address) override;
    void OnEntry(const BusScanEntry& entry) override;
    void OnScanEnded(bool stopped) override { stopped_ = stopped; }

    AddressRange range_;
    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
    bool found_ = false;
    std::optional<bool> stopped_;
};

}  // namespace brennix::cli
