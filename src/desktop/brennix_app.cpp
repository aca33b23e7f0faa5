#include "desktop/brennix_app.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include "desktop/startup_trace.h"
#include "desktop/terminal_window.h"
#include "platform/qt_text.h"
#include "sim/simulated_device.h"

namespace brennix {

namespace {

constexpr int kShowPatienceMs = 1000;

// Ends a local event loop when the window it watches is first exposed.
class ExposeWatch : public QObject {
  public:
    ExposeWatch(QWindow& window, QEventLoop& loop) : window_(window), loop_(loop) {
        window_.installEventFilter(this);
    }
    ~ExposeWatch() override { window_.removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_.isExposed()) {
            loop_.quit();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWindow& window_;
    QEventLoop& loop_;
};

// The terminal, its menus included, is on the screen before the connect dialog opens over it:
// the window system shows a window only once it has answered, which takes a moment. The wait
// ends the moment it has (or after a second, on a window system that never says so).
void ShowPainted(QWidget& window) {
    window.show();
    QWindow& handle = *window.windowHandle();
    if (!handle.isExposed()) {
        QEventLoop loop;
        const ExposeWatch watch(handle, loop);
        QTimer::singleShot(kShowPatienceMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

CBrennixApp::CBrennixApp(const StartOptions& options)
    : options_(options),
      ports_(clock_, options.simulate ? std::optional(sim::Settings{}) : std::nullopt) {
    QCoreApplication::setOrganizationName(Latin1Text(settings::kOrganisation));
    QCoreApplication::setApplicationName(Latin1Text(settings::kApplication));
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
    TraceStartup("settings read");
    terminal_ = std::make_unique<CDlgTerminal>(*this, ports_.Device(), clock_, options_);
    TraceStartup("terminal built");
    ShowPainted(*terminal_);
    TraceStartup("terminal on the screen");
    terminal_->ConnectAtStart();
    TraceStartup("connected");
}

void CBrennixApp::End() {
    if (!terminal_) {
        return;
    }
    settings_.Write(settings::kUnitSystem, SettingFromUnitSystem(units_));
    terminal_.reset();
}

}  // namespace brennix
