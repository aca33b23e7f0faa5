#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "desktop/brennix_app.h"
#include "desktop/file_dialog_fit.h"
#include "desktop/startup_trace.h"
#include "platform/exit_signals.h"

namespace {

// Reads the command line into options; false (after printing why) when it is not usable.
bool ParseArguments(const QCoreApplication& application, brennix::StartOptions& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Brennix: terminal, command files and setup for Ostrel current meters.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate("simulate",
                                      "Offer the built-in simulated instrument \"SIM\" as a port.");
    const QCommandLineOption port(
        "port", "Open NAME at start instead of showing the connect dialog.", "NAME");
    const QCommandLineOption baud("baud", "Baud rate for --port (default 9600).", "N", "9600");
    parser.addOptions({simulate, port, baud});
    parser.process(application);

    bool rateValid = false;
    const uint rate = parser.value(baud).toUInt(&rateValid);
    if (!rateValid || rate == 0) {
        std::fprintf(stderr, "brennix: --baud needs a positive number, not \"%s\"\n",
                     qPrintable(parser.value(baud)));
        return false;
    }
    options.simulate = parser.isSet(simulate);
    options.port = parser.value(port).toStdString();
    options.baudRate = rate;
    return true;
}

// On X11 and Wayland desktops a window needs a display; without one Qt would abort. Any platform
// chosen explicitly (offscreen, vnc, ...) is Qt's to judge.
bool DisplayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    brennix::TraceStartup("main");
    brennix::StartOptions options;
    {
        // The command line is read before anything needs a display, so --help and --version
        // answer on a console too.
        QCoreApplication parsing(argc, argv);
        QCoreApplication::setApplicationName("Brennix");
        QCoreApplication::setApplicationVersion(BRENNIX_VERSION);
        if (!ParseArguments(parsing, options)) {
            return 2;
        }
    }
    if (!DisplayAvailable()) {
        std::fputs(
            "brennix: no display to show the window on (DISPLAY is not set).\n"
            "Use brennix-cli on a console, or run the window on a virtual screen with "
            "xvfb-run -a brennix.\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);
    brennix::TraceStartup("QApplication built");
    brennix::FileDialogFit fileDialogFit;
    application.installEventFilter(&fileDialogFit);
    brennix::ReleasePortsWhenEnded();
    brennix::CBrennixApp app(options);
    return app.Run();
}
