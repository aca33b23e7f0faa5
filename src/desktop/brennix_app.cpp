#include "desktop/brennix_app.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWindow>

#include "desktop/terminal_window.h"
#include "sim/simulated_device.h"

namespace brennix {

namespace {

constexpr int kShowPatienceMs = 1000;

// The terminal, its menus included, is on the screen before the connect dialog opens over it:
// the window system shows a window only once it has answered, which takes a moment.
void ShowPainted(QWidget& window) {
    window.show();
    const QDeadlineTimer deadline(kShowPatienceMs);
    while (!window.windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

CBrennixApp::CBrennixApp(const StartOptions& options)
    : options_(options),
      ports_(clock_, options.simulate ? std::optional(sim::Settings{}) : std::nullopt) {
    QCoreApplication::setOrganizationName(
        QString::fromLatin1(settings::kOrganisation.data(), settings::kOrganisation.size()));
    QCoreApplication::setApplicationName(
        QString::fromLatin1(settings::kApplication.data(), settings::kApplication.size()));
}

CBrennixApp::~CBrennixApp() {
    End();
}

QString CBrennixApp::SimulatedPortName() const {
    return ports_.Simulating() ? QString(SimulatedDevice::kPortName) : QString();
}

int CBrennixApp::Run() {
    Start();
    QObject::connect(terminal_.get(), &CDlgTerminal::Closed, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    const int exitCode = QApplication::exec();
    End();
    return exitCode;
}

void CBrennixApp::Start() {
    units_ = UnitSystemFromSetting(settings_.Read(settings::kUnitSystem));
    terminal_ = std::make_unique<CDlgTerminal>(*this, ports_.Device(), clock_, options_);
    ShowPainted(*terminal_);
    terminal_->ConnectAtStart();
}

void CBrennixApp::End() {
    if (!terminal_) {
        return;
    }
    settings_.Write(settings::kUnitSystem, SettingFromUnitSystem(units_));
    terminal_.reset();
}

}  // namespace brennix
