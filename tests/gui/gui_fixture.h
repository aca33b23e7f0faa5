#pragma once

// What every window test includes: the test library, the widgets the tests find by name, and the
// environment and rigs below.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>

#include "desktop/start_options.h"
#include "desktop_ui/feature_context.h"
#include "desktop_ui/qt_ui_host.h"
#include "instrument/instrument_codes.h"
#include "platform/clock.h"
#include "platform/qt_settings.h"
#include "platform/settings.h"
#include "script/session.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

// Keeps a test program's settings, data and home (with its Documents/OstrelData) in a temporary
// folder, away from the user's; Reset() makes each case start as on a fresh machine. Construct it
// before anything reads settings.
class GuiEnvironment {
  public:
    GuiEnvironment() {
        qputenv("HOME", FilePath("home").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(Text(settings::kOrganisation));
        QCoreApplication::setApplicationName(Text(settings::kApplication));
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, folder_.path());
        }
        Reset();
    }

    void Reset() {
        QSettings(Text(settings::kOrganisation), Text(settings::kApplication)).clear();
        QDir(DataFolder()).removeRecursively();
        QDir().mkpath(DataFolder());
        QDir(FilePath("home")).removeRecursively();
        QDir().mkpath(FilePath("home"));
    }

    static QString Text(std::string_view text) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString FilePath(const QString& name) const { return folder_.filePath(name); }
    QString DataFolder() const { return FilePath("data"); }

    // The program on the simulated instrument, connected at start.
    StartOptions Options() const { return {true, "SIM", 9600, DataFolder()}; }

  private:
    QTemporaryDir folder_;
};

// Moves a virtual clock on while an event loop runs (a dialog's exec, a message box): workers on
// that clock get their turns only while the window thread sleeps on it.
class VirtualTimeDriver {
  public:
    explicit VirtualTimeDriver(Clock& clock, uint32_t stepMs = 5) {
        QObject::connect(&timer_, &QTimer::timeout, [&clock, stepMs] { clock.Sleep(stepMs); });
        timer_.start(1);
    }

  private:
    QTimer timer_;
};

// A feature's window on a simulated Mirovan at 9600 baud on virtual time: what the Setup menu
// would hand it. Until() runs the window's event loop while the clock moves on.
struct SimWindowRig {
    explicit SimWindowRig(const sim::Settings& settings = {}, uint32_t startTick = 0)
        : clock(startTick), instrument(settings) {
        session.Link().Open(SimulatedDevice::kPortName, 9600);
    }
    FeatureContext Context() {
        return {nullptr, session, ui, store, UnitSystem::kMetric, kMirovan};
    }
    void Until(const std::function<bool()>& done) { ui.PumpUntil(done); }

    VirtualClock clock;
    QtUiHost ui{clock};
    QtSettings store;
    sim::SimulatedInstrument instrument;
    SimulatedDevice device{instrument, clock};
    CSession session{device, clock, ui};
};

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs action on the next modal window of the kind to come up, from the event loop that window
// runs. Gives up after 10 s so a window that never comes fails the test's own checks instead of
// hanging it.
template <typename Window = QWidget>
void OnNextModal(std::type_identity_t<std::function<void(Window*)>> action) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, action, deadline = QDeadlineTimer(10000)] {
        auto* modal = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (modal == nullptr && !deadline.hasExpired()) {
            return;
        }
        timer->deleteLater();
        timer->stop();
        if (modal != nullptr) {
            action(modal);
        }
    });
    timer->start(10);
}

// Presses the button labelled press ("" presses Escape) on the next message box, and returns
// what the box showed once it has been answered.
struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};
inline std::shared_ptr<SeenMessage> AnswerNextMessage(const QString& press = "OK") {
    auto seen = std::make_shared<SeenMessage>();
    OnNextModal<QMessageBox>([seen, press](QMessageBox* box) {
        *seen = {box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton* button : box->buttons()) {
            seen->buttons << button->text();
        }
        for (QAbstractButton* button : box->buttons()) {
            if (!press.isEmpty() && button->text().remove('&') == press) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
    return seen;
}

// Saves a picture of the widget into the folder named by BRENNIX_SCREENSHOT_DIR, if set.
inline bool SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("BRENNIX_SCREENSHOT_DIR");
    return folder.isEmpty() || widget.grab().save(QDir(folder).filePath(name + ".png"));
}

// The window tests are one program (window_tests.cpp): each test class registers itself under its
// file's name, and the program runs the class named first on its command line.
using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::map<std::string, GuiTestFactory>& GuiTests();

template <typename Test>
struct GuiTestRegistration {
    explicit GuiTestRegistration(const char* name) {
        GuiTests()[name] = [] { return std::make_unique<Test>(); };
    }
};

}  // namespace brennix::test

#define BRENNIX_GUI_TEST(Class, name) \
    static const brennix::test::GuiTestRegistration<Class> registered_gui_test(name);
