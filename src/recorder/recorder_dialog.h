#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "desktop/feature_context.h"
#include "desktop/qt_job_relay.h"
#include "desktop/qt_ui_host.h"
#include "recorder/download_job.h"
#include "recorder/format_job.h"
#include "recorder/recorder_access.h"
#include "recorder/recorder_file_entry.h"
#include "recorder/recorder_job_listener.h"
#include "script/relayed_ui_host.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace brennix {

// The Setup menu's Recorder command (and the setup sheet's Recorder button): holds the link,
// keeps the instrument's traffic out of the terminal, runs the recorder manager and afterwards
// switches the instrument and the line back to the rate they had. Returns the dialog's result.
int RunRecorderManager(const FeatureContext& context);

// "Recorder manager": the recorder's files with their sizes and times and the space used; a rate
// for downloads (kept in the settings), downloads into OstrelData in the user's documents, and
// formatting. Downloads and formats run as jobs; the dialog only shows what they report and asks
// what they ask, on the window thread.
class CDlgRecorder : public QDialog, private RecorderJobListener {
    Q_OBJECT
  public:
    explicit CDlgRecorder(const FeatureContext& context);
    ~CDlgRecorder() override;

    CRecorderAccess& Access() { return access_; }
    // Where downloads go: the folder OstrelData in the user's documents.
    static QString DownloadFolder();

  public slots:
    // OK, Cancel and the close box: only once no job runs, or the user agreed to cancel it and
    // it has ended.
    void done(int result) override;

  private:
    void CreateControls();
    void FillRates();
    // Once the dialog is on the screen: the saved rate, then the listing.
    void Initialise();
    bool ApplyRate();
    void RefreshList();
    void ShowEntries(uint32_t used, uint32_t total);
    void OnRateChosen(int index);
    void OnDownload();
    void OnFormat();
    // True when no job runs, or the user agreed to cancel the running one and it has ended.
    bool ConfirmStop();
    // Asks whether to cancel the running job; true when the user said yes.
    bool AskToCancel();
    bool JobRunning() const;
    void StartFailed();

    // What the jobs report, carried to the window thread.
    void ShowStatus(const std::string& text) override;
    void ShowDetail(const std::string& text) override;
    void SetProgressRange(int maximum) override;
    void SetProgress(int position) override;
    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    ReplaceAnswer ConfirmReplace(const std::string& path) override;
    void OperationEnded() override;

    CSession& session_;
    Settings& settings_;
    QtUiHost ui_;
    QtJobRelay relay_;
    RelayedUiHost workerUi_;
    CRecorderAccess access_;
    std::vector<RecorderFileEntry> entries_;
    QTreeWidget* list_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* format_ = nullptr;
    QPushButton* download_ = nullptr;
    QComboBox* rates_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* detail_ = nullptr;
    QLabel* fileCount_ = nullptr;
    QLabel* usedSpace_ = nullptr;
    int appliedRate_ = -1;  // the rate list's row the line runs at; -1: none chosen
    // Last: they join their threads before anything they report to goes.
    DownloadJob downloadJob_;
    FormatJob formatJob_;
};

}  // namespace brennix
