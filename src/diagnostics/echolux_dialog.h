#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "desktop/feature_context.h"
#include "desktop/qt_job_relay.h"
#include "diagnostics/echolux_acquisition.h"
#include "diagnostics/echolux_file_dialog.h"
#include "diagnostics/echolux_listener.h"
#include "diagnostics/echolux_setup.h"
#include "script/relayed_ui_host.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedLayout;

namespace brennix {

class CPlotAxisX;
class CPlotAxisY;
class CPlotWnd;

// Sets the instrument up for diagnostics and opens the Echolux window on it, as the Setup menu's
// "Diagnostics" does once the instrument check has found the model. The terminal's output is
// detached meanwhile.
void RunEcholux(const FeatureContext& context);

// The beam-diagnostic window: per beam the echo amplitude (or the sine or cosine component)
// along the beam, the noise/peak or min/max figures, the ping counter and the progress of the
// current collection; the ">>" menu switches views, averaging and recording or playback files.
// It only displays: the acquisition job decodes and works the figures out, and hands each frame
// over as a snapshot that no thread changes afterwards.
class CDlgEcholux : public QDialog, private EcholuxListener {
    Q_OBJECT

  public:
    enum class View { kAmp = 0, kSine = 1, kCosine = 2 };

    CDlgEcholux(const FeatureContext& context, const EcholuxSetup& setup);
    ~CDlgEcholux() override;

    void StartAcquisition();
    // Asks the job to stop and waits for it, keeping the window's events flowing meanwhile (the
    // job may be waiting for an answer from this thread).
    void StopAcquisition();

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
    // Builds the ">>" menu as it pops up now.
    std::unique_ptr<QMenu> BuildOptionsMenu();

    const CPlotWnd& VisiblePlot() const;
    QString PingText() const;
    QString StatusText() const;
    // The table's text at row (beam 0-2) and column (0 first, 1 position, 2 level); empty when
    // the column is hidden.
    QString TableText(int row, int column) const;
    QString FirstColumnHeader() const;

    // Close: the job stops first, then any file is closed.
    void reject() override;

  private:
    struct BeamRow {
        QLabel* first = nullptr;
        QLabel* position = nullptr;
        QLabel* level = nullptr;
    };

    // EcholuxListener, called on the worker thread: carried over to the window thread.
    void OnProgress(int percent) override;
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override;
    // The display keeps the last good frame; nothing is said.
    void OnFrameMissed() override {}
    void OnPlaybackEnded(uint32_t framesPlayed) override;
    void OnRecordingFailed() override;
    void OnConnectionLost() override;

    void BuildWindow();
    QWidget* BuildTable();
    QWidget* BuildPlots();
    void ClearDisplay();
    void Refresh();
    void ReloadVisiblePlot();
    void ShowOptionsMenu();
    void SetStatus(const QString& text);
    void Warn(const QString& text);

    UiHost& ui_;
    EcholuxSetup setup_;
    QtJobRelay relay_;
    RelayedUiHost workerUi_;
    std::unique_ptr<EcholuxFileDialog> fileDialog_;
    std::shared_ptr<const EcholuxSnapshot> shown_;
    View view_ = View::kAmp;
    QString openFileName_;

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

    // Last: it reports to the members above until it has stopped.
    CEcholuxAcquisition acquisition_;
};

}  // namespace brennix
