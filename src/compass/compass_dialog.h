#pragma once

#include <QDialog>

#include "compass/compass_calibration.h"
#include "desktop/feature_context.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace brennix {

// Opens the compass calibration as the Setup menu's "Compass" does once an instrument answers:
// the terminal's output is detached meanwhile, and what the instrument sent last is dropped
// afterwards.
void RunCompassCalibration(const FeatureContext& context);

// The compass calibration dialog: Start puts the instrument into its calibration mode, heading,
// pitch and roll follow every 300 ms, Stop ends it and shows the scores with their words; Close
// sends a BREAK, which also ends a calibration still running.
class CDlgCompass : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTimerMs = 300;

    CDlgCompass(QWidget* parent, CSession& session, UiHost& ui);

    // "compass init"; false, after saying so, when the compass does not answer.
    bool Initialise();

    void Start();
    void Stop();
    QString Text() const;
    QString Heading() const;
    QString Pitch() const;
    QString Roll() const;

    // Close, Escape and the close box.
    void reject() override;

  private:
    void ShowAttitude();
    void SetBusy(bool busy);

    CSession& session_;
    UiHost& ui_;
    CCompassCalibration calibration_;
    QLineEdit* heading_;
    QLineEdit* pitch_;
    QLineEdit* roll_;
    QLabel* text_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* close_;
    QTimer* timer_;
    // Set while Stop waits for the scores: timer ticks and Close wait for it.
    bool busy_ = false;
};

}  // namespace brennix
