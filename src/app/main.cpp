#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "app/brennix_app.h"

namespace {

// Reads the command line into options; false (after printing why) when it is not usable.
bool ParseArguments(const QApplication& application, brennix::StartOptions& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Brennix: terminal, command files and setup for Ostrel current meters.");
    parser.addHelpOption();
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    brennix::StartOptions options;
    if (!ParseArguments(application, options)) {
        return 2;
    }
    brennix::CBrennixApp app(options);
    return app.Run();
}
