#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>

#include "desktop/command_history.h"
#include "desktop/feature_launcher.h"
#include "desktop/file_dialogs.h"
#include "desktop/start_options.h"
#include "desktop/terminal_menus.h"
#include "desktop_ui/qt_job_relay.h"
#include "desktop_ui/qt_ui_host.h"
#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "script/script_engine.h"
#include "script/session.h"
#include "script/terminal_service.h"

class QComboBox;

namespace brennix {

class CBrennixApp;
class CColorEdit;
class CDlgDeploymentRecords;
class HelpWindow;
class TerminalStatusBar;

// The program's main window, a serial terminal: the output pane, the command line with its
// history, the menus and the tool bar, over the terminal service. It owns the session (link,
// instrument, script engine) that every feature borrows, and drains the port into the pane
// whatever window is in front.
class CDlgTerminal : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kPollIntervalMs = 500;

    CDlgTerminal(CBrennixApp& app, SerialDevice& device, Clock& clock, const StartOptions& options);
    // Saves the command history.
    ~CDlgTerminal() override;

    // The last step of start-up: connect, directly or through the connect dialog.
    void ConnectAtStart();

    void UpdateMenuState();
    void PollSerialInput();
    void SendCommandLine();
    void Connect();
    void SendBreakToInstrument();
    void NextFontSize();
    // A negative size applies the saved one.
    void ApplyFontSize(int size);
    void ShowHelp();
    void SetEnglishUnits(bool english);
    void SetSdi12Mode(bool on);
    void OpenLogFile();
    void CloseLogFile();
    void SetLogTimeStamps(bool on);
    void RunCommandFile();
    void OpenCommandEditor();
    // Tools > Deployment records...: one list at a time, beside the terminal.
    void ShowDeploymentRecords();
    void RunCommandsEntry(int id);
    // A feature of the Setup menu, after its instrument check.
    void OpenFeature(const FeatureEntry& entry);

    CSession& Session() { return session_; }
    TerminalService& Service() { return terminal_; }
    CSerialLink& Link() { return session_.Link(); }
    CInstrument& Instrument() { return session_.Instrument(); }
    CColorEdit& OutputPane() { return *outputPane_; }
    QComboBox& CommandLine() { return *commandLine_; }
    TerminalMenus& Menus() { return *menus_; }
    TerminalStatusBar& StatusBar() { return *statusBar_; }
    void SetFileDialogs(std::unique_ptr<FileDialogs> dialogs) { fileDialogs_ = std::move(dialogs); }

  signals:
    // The window was closed: the program ends.
    void Closed();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildWindow();
    void BuildToolBar();
    void ConnectMenus();
    void AddFeatureMenus();
    void ConnectDirectly();
    // The connect dialog; with a port given, it searches that port's rate at once.
    void RunConnectDialog(const QString& searchPort);
    // After a command nothing answered, on a connection whose rate nobody confirmed: says the rate
    // may be wrong and offers the search.
    void OfferRateSearch();
    void CheckConnection();
    void SendHistoryEntry(int index);
    // Shows the next older (step 1) or newer (step -1) history entry in the command line.
    void RecallHistory(int step);
    void UpdateStatusBar();
    void CentreOnWindow(QWidget& dialog) const;
    void ReportLogFailure(const std::string& reason);
    void ShowHistory();
    QString HistoryPath() const;
    // A script or another exchange holds the link; says so and returns true.
    bool RefuseWhileBusy();
    void ShowWarning(const QString& text);
    void ShowWarning(const std::string& text);
    // Shows why terminal work did not start; true when it did.
    bool Started(const std::optional<std::string>& refusal);
    // After a typed line: the rate confirmed, or the search offered when nothing came back.
    void LineAnswered(const std::string& text, uint64_t receivedBefore);
    // Terminal work has let go of the line.
    void WorkFinished();
    HelpWindow& HelpViewer();

    CBrennixApp& app_;
    Clock& clock_;
    const StartOptions options_;
    QtUiHost ui_;
    CSession session_;
    QtJobRelay relay_;
    TerminalService terminal_;
    CommandHistory history_;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<TerminalMenus> menus_;
    std::vector<FeatureEntry> features_ = FeatureEntries();
    CColorEdit* outputPane_ = nullptr;
    QComboBox* commandLine_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;
    QPointer<CDlgDeploymentRecords> records_;
    TerminalStatusBar* statusBar_ = nullptr;
    // The port the terminal was asked at start to open, or last connected to through the connect
    // dialog, and its rate: the connect dialog offers them again.
    std::string lastPort_;
    uint32_t lastRate_ = 0;
    // The log file's path as the user chose it, while a log is open.
    QString logPath_;
    // What was typed before Up brought back a history entry.
    QString draft_;
    // Connected at a rate the technician named, and nothing has answered there yet.
    bool rateUnconfirmed_ = false;
};

}  // namespace brennix
