#pragma once

#include <QDialog>

#include "compass/compass_service.h"
#include "desktop_ui/feature_context.h"
#include "desktop_ui/qt_job_relay.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brennix {

// The compass calibration dialog over the compass service: Start puts the instrument into its
// calibration mode, heading, pitch and roll follow, Stop ends it and shows the scores with their
// words; Close sends a BREAK, which also ends a calibration still running. The dialog only shows
// what the service reports; the terminal's output is detached while it is open.
class CDlgCompass : public QDialog, private CompassListener {
    Q_OBJECT

  public:
    explicit CDlgCompass(const FeatureContext& context);
    // Starts the service, which initialises the compass; false, after saying so, when it cannot.
    bool Open();

    void Start();
    void Stop();
    QString Text() const;
    QString Heading() const;
    QString Pitch() const;
    QString Roll() const;

    // Close, Escape and the close box: the service ends the calibration, then the dialog closes.
    void reject() override;

  private:
    void OnReady(bool ready) override;
    void OnAttitude(const Attitude& attitude) override;
    void OnScores(const std::optional<CompassScores>& scores) override;

    void SetBusy(bool busy);
    void EndInitWait();
    void Closed();

    QtUiHost& ui_;
    // The scores shown are noted for a deployment record of this session.
    SessionNotes& notes_;
    QLineEdit* heading_;
    QLineEdit* pitch_;
    QLineEdit* roll_;
    QLabel* text_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* close_;
    // Set from Start until Stop: Stop acts only then.
    bool calibrating_ = false;
    bool busy_ = false;
    bool closing_ = false;
    bool awaitingInit_ = false;
    QtJobRelay relay_;
    CompassService service_;  // last: its worker ends before the rest goes
};

}  // namespace brennix
