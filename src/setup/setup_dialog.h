#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "desktop/feature_context.h"
#include "setup/deployment.h"
#include "setup/setup_sheet.h"

class QTabWidget;

namespace brennix {

class CDlgMrvDeploy;

// Setup > Deployment, once the instrument check found a Mirovan: reads the instrument's
// configuration and runs the setup sheet on it. A configuration that cannot be read is reported
// and no sheet opens.
void OpenSetup(const FeatureContext& context);

// "Setup Mirovan": the Deploy, Advanced, Hardware and Options pages over one sheet. A page whose
// checks or save fail cannot be left, by another tab or by closing; Deploy applies every page and
// starts the deployment, and a started deployment closes the sheet.
class CSetupDialog : public QDialog, public SetupSheetHost {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "Setup Mirovan";

    // The Deploy page is shown (and loaded) at once.
    explicit CSetupDialog(SetupSheet& sheet, QWidget* parent = nullptr);

    void ActivatePage(SetupPage page) override;
    void FocusControl(const Refusal& refusal) override;
    bool RunSdi12Dialog() override;

    SetupPage ActivePage() const { return static_cast<SetupPage>(current_); }
    // How the Recorder button runs the recorder manager over the sheet; without it the button
    // reads the recorder's space figures only.
    void SetRecorderManager(std::function<void(QWidget* parent)> run) {
        runRecorderManager_ = std::move(run);
    }

  public slots:
    // Close, Escape, Enter and the close box: the active page is left first.
    void reject() override;

  protected:
    // Enter closes the sheet as Close does; it never presses Deploy.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Page {
        QWidget* widget;
        std::function<void()> enter;
        std::function<bool()> leave;
        std::function<bool(const Refusal&)> focus;
    };

    void AddPage(QWidget* widget, const QString& caption, Page page);
    void OnTabChanged(int index);
    void ShowTab(int index);
    void OnDeploy();
    void OnRecorder();

    SetupSheet& sheet_;
    QTabWidget* tabs_ = nullptr;
    CDlgMrvDeploy* deployPage_ = nullptr;
    std::vector<Page> pages_;
    int current_ = 0;
    std::function<void(QWidget* parent)> runRecorderManager_;
};

}  // namespace brennix
