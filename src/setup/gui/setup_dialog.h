#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "desktop_ui/feature_context.h"
#include "desktop_ui/qt_job_relay.h"
#include "setup/setup_service.h"

class QLabel;
class QTabWidget;

namespace brennix {

class CDlgMrvDeploy;

// "Setup Mirovan": the Deploy, Advanced, Hardware and Options pages over the setup service's
// sheet. The window only shows and forwards: a tab change, Close, Deploy and the Recorder button
// are the service's jobs; while one runs the sheet stays alive with its controls off and the
// wait cursor. A page whose checks or save fail cannot be left, by another tab or by closing; a
// started deployment is recorded in OstrelData/deployments and closes the sheet, which closes
// only once its job has ended.
class CSetupDialog : public QDialog, private SetupListener {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Setup Mirovan";

    explicit CSetupDialog(const FeatureContext& context);
    // Reads the instrument's configuration, keeping the window thread's events running; false,
    // after saying why, when it could not be read (no sheet is shown then).
    bool Open();

    SetupPage ActivePage() const { return static_cast<SetupPage>(current_); }
    bool IsBusy() const { return service_.IsBusy(); }
    // What the terminal is to say of the deployment's record once the sheet has closed; empty
    // when no deployment started.
    const std::vector<std::string>& RecordLines() const { return recordReport_; }
    // The status line: why the control under the pointer is greyed.
    QString StatusText() const;

  public slots:
    // Close, Escape, Enter and the close box: the active page is left first; while a job runs,
    // it is stopped and the sheet closes once it has ended.
    void reject() override;

  protected:
    bool event(QEvent* event) override;
    // Enter closes the sheet as Close does; it never presses Deploy.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Page {
        QWidget* widget;
        std::function<void()> show;
        std::function<bool(const Refusal&)> focus;
    };

    void OnPageShown(SetupPage page) override;
    bool RunSdi12Dialog(const std::optional<Refusal>& refused) override;
    void OnEnded(const SetupResult& result) override;

    void AddPage(QWidget* widget, const QString& caption, Page page);
    void OnTabChanged(int index);
    void ShowPage(int index);
    void StartJob(bool started);
    void SetBusy(bool busy);
    void OnDeploy();
    void OnRecorder();
    void Ended(const SetupResult& result);
    void RecorderEnded(const SetupResult& result);
    // Writes the record of a deployment that has started; false when it could not be written.
    bool KeepRecord(const SetupResult& result);

    QtUiHost& ui_;
    CSession& session_;
    UnitSystem units_;
    QTabWidget* tabs_ = nullptr;
    QLabel* status_ = nullptr;
    CDlgMrvDeploy* deployPage_ = nullptr;
    std::vector<Page> pages_;
    int current_ = 0;
    int target_ = 0;
    bool busy_ = false;
    bool closing_ = false;
    std::function<void(QWidget* parent)> runRecorderManager_;
    std::vector<std::string> recordReport_;
    QtJobRelay relay_;
    SetupService service_;  // last: its job ends before the rest goes
};

}  // namespace brennix
