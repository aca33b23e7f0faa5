#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "desktop_ui/feature_context.h"
#include "desktop_ui/qt_job_relay.h"
#include "diagnostics/diagnostics_service.h"
#include "diagnostics/gui/echolux_file_dialog.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedLayout;

namespace brennix {

class CPlotAxisX;
class CPlotAxisY;
class CPlotWnd;

// The beam-diagnostic window over the diagnostics service: per beam the echo amplitude (or the
// sine or cosine component) along the beam, the noise/peak or min/max figures, the ping counter
// and the progress of the current collection; the ">>" menu switches views, averaging and
// recording or playback files. It only displays what the service reports: each frame arrives as
// a snapshot that nothing changes afterwards. The terminal's output is detached while it is open.
class CDlgEcholux : public QDialog, private DiagnosticsListener {
    Q_OBJECT

  public:
    enum class View { kAmp = 0, kSine = 1, kCosine = 2 };

    explicit CDlgEcholux(const FeatureContext& context);
    // Waits for the service to end if it still runs.
    ~CDlgEcholux() override;

    // Starts the service, which sets the instrument up and then acquires; false, after saying
    // so, when it cannot.
    bool Open();

    void SetView(View view);
    View CurrentView() const { return view_; }
    void ToggleAveraging();
    bool Averaging() const;
    void OpenPlayback();
    void SaveRecording();
    void CloseFile();
    void SetFileDialog(std::unique_ptr<EcholuxFileDialog> dialog) {
        fileDialog_ = std::move(dialog);
    }

    // Shows a frame's snapshot: the labels, the table and the visible plot.
    void ShowSnapshot(std::shared_ptr<const EcholuxSnapshot> snapshot);
    // What the window shows now, whole, to hand on.
    const std::shared_ptr<const EcholuxSnapshot>& ShownSnapshot() const { return shown_; }
    // Builds the ">>" menu as it pops up now.
    std::unique_ptr<QMenu> BuildOptionsMenu();

    const CPlotWnd& VisiblePlot() const;
    QString PingText() const;
    QString StatusText() const;
    // The table's text at row (beam 0-2) and column (0 first, 1 position, 2 level); empty when
    // the column is hidden.
    QString TableText(int row, int column) const;
    // The header of a column of the table (as TableText); empty when it is hidden.
    QString ColumnHeader(int column) const;
    QString ValueAxisCaption() const;

    // Close, Escape and the close box: the service stops, then the window closes and any file
    // with it.
    void reject() override;

  private:
    struct BeamRow {
        QLabel* first = nullptr;
        QLabel* position = nullptr;
        QLabel* level = nullptr;
    };

    void OnSetUp(const EcholuxSetup& setup) override;
    void OnSetupRefused() override;
    void OnProgress(int percent) override;
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override;
    // The display keeps the last good frame; nothing is said.
    void OnFrameMissed() override {}
    void OnPlaybackEnded(uint32_t framesPlayed) override;
    void OnRecordingFailed() override;
    void OnConnectionLost() override;
    void Closed();

    void BuildWindow();
    QWidget* BuildTable();
    QWidget* BuildPlots();
    void ClearDisplay();
    void Refresh();
    void ReloadVisiblePlot();
    void ShowOptionsMenu();
    void SetBusy(bool busy);
    void SetStatus(const QString& text);
    void Warn(const QString& text);

    QtUiHost& ui_;
    // The live frames shown are noted for a deployment record of this session.
    SessionNotes& notes_;
    int model_;
    EcholuxSetup setup_;
    std::unique_ptr<EcholuxFileDialog> fileDialog_;
    std::shared_ptr<const EcholuxSnapshot> shown_;
    View view_ = View::kAmp;
    QString openFileName_;
    bool busy_ = false;
    // Set once the window is to close when the service has ended.
    bool closing_ = false;

    QPushButton* optionsButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QLabel* pingLabel_ = nullptr;
    QLabel* firstHeader_ = nullptr;
    QLabel* positionHeader_ = nullptr;
    QLabel* levelHeader_ = nullptr;
    std::array<BeamRow, kBeamCount> rows_;
    QStackedLayout* plotStack_ = nullptr;
    std::array<CPlotWnd*, 3> plots_{};
    CPlotAxisX* horizontalAxis_ = nullptr;
    CPlotAxisY* verticalAxis_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;

    QtJobRelay relay_;
    DiagnosticsService service_;  // last: its worker ends before the rest goes
};

}  // namespace brennix
