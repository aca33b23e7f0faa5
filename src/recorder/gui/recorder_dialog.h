#pragma once

#include <QDialog>
#include <vector>

#include "desktop_ui/feature_context.h"
#include "desktop_ui/qt_job_relay.h"
#include "desktop_ui/qt_ui_host.h"
#include "instrument/recorder_file_entry.h"
#include "recorder/recorder_service.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace brennix {

// "Recorder manager", over the recorder service: the recorder's files with their sizes and times
// and the space used; a rate for downloads (kept in the settings), downloads into OstrelData in
// the user's documents, and formatting. The dialog only shows what the service reports and asks
// what it asks; closing puts the rate back first.
class CDlgRecorder : public QDialog, private RecorderListener {
    Q_OBJECT
  public:
    explicit CDlgRecorder(const FeatureContext& context);
    ~CDlgRecorder() override;

    // Where downloads go: the folder OstrelData in the user's documents.
    static QString DownloadFolder();

  public slots:
    // OK, Cancel and the close box: a download or format running is cancelled first if the user
    // agrees; the dialog closes once the rate is back.
    void done(int result) override;

  private:
    void CreateControls();
    void LayOut();
    void FillRates();
    QLayout* CreateChecks();
    QWidget* CreateStatusArea();
    // Once the dialog is on the screen: the saved rate, then the listing.
    void Initialise();
    void OnRateChosen(int index);
    void OnDownload();
    void OnFormat();
    // True when no download or format runs, or the user agreed to cancel it and it has ended.
    bool ConfirmStop();
    bool AskToCancel();
    bool Transferring() const;
    // Says so when the service could not start its job.
    void Started(bool started);
    void UpdateControls();
    void ClearList();
    void Closed(int result);

    void OnRateSet(uint32_t rate, bool switched) override;
    void OnListed(const std::optional<RecorderListing>& listing) override;
    void OnProgress(const RecorderProgress& progress) override;
    void OnDownloaded(const DownloadResult& result) override;
    void OnFormatted(FormatOutcome outcome) override;
    MessageResult ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    ReplaceAnswer ConfirmReplace(const std::string& path) override;

    Settings& settings_;
    QtUiHost ui_;
    std::vector<RecorderFileEntry> entries_;
    QTreeWidget* list_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* format_ = nullptr;
    QPushButton* download_ = nullptr;
    QComboBox* rates_ = nullptr;
    QSpinBox* attempts_ = nullptr;
    QCheckBox* verify_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* detail_ = nullptr;
    QLabel* fileCount_ = nullptr;
    QLabel* usedSpace_ = nullptr;
    int appliedRate_ = -1;  // the rate list's row the line runs at; -1: none chosen
    bool stopping_ = false;
    bool closing_ = false;
    QtJobRelay relay_;
    RecorderService service_;  // last: its worker ends before the rest goes
};

}  // namespace brennix
