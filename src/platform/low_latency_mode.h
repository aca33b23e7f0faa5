#pragma once

// The driver's own record of a port (<linux/serial.h>), kept out of this header.
struct serial_struct;

namespace brennix {

// The driver's low-latency mode for the time a port is open. A USB serial adapter otherwise holds
// each partial packet for up to 16 ms (FTDI's latency timer), which costs a download that waits
// for every block's answer up to a sixth of its speed. A tty without the mode (a pseudo-terminal,
// a built-in port) is used as it is, without a word; a mode that was on already stays on.
class LowLatencyMode {
  public:
    // TIOCGSERIAL or TIOCSSERIAL on a descriptor; tests give a driver of their own.
    using Control = int (*)(int fd, unsigned long request, serial_struct* info);

    explicit LowLatencyMode(Control control = &SystemControl) : control_(control) {}

    void Enable(int fd);
    // Puts back the mode the tty had before Enable.
    void Restore(int fd);

  private:
    static int SystemControl(int fd, unsigned long request, serial_struct* info);

    Control control_;
    bool changed_ = false;
};

}  // namespace brennix
