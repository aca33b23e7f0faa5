// The Setup menu's features: their place in the menu, the instrument check each runs first, and
// the refusal while the link is held.
#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "desktop/brennix_app.h"
#include "desktop/color_edit_widget.h"
#include "desktop/terminal_menus.h"
#include "desktop/terminal_window.h"
#include "gui_fixture.h"
#include "link/link_lease.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

namespace {

// Acknowledges every message box that comes up while it lives, noting caption and text.
class MessageCollector {
  public:
    MessageCollector() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen_ << box->windowTitle() + " | " + box->text();
                box->accept();
            }
        });
        timer_.start(10);
    }
    const QStringList& Seen() const { return seen_; }

  private:
    QTimer timer_;
    QStringList seen_;
};

QStringList Texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QString("-") : action->text());
    return texts;
}

}  // namespace

class FeatureLauncherTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        app_ = std::make_unique<CBrennixApp>(environment_.Options());
        app_->Start();
    }
    void cleanup() { app_.reset(); }

    void featuresComeFirstInTheSetupMenu() {
        QCOMPARE(Texts(*Terminal().Menus().setup),
                 QStringList({"&Deployment", "&Recorder", "&Compass", "Diagnostics", "&Units",
                              "&Mode", "-", "E&xit"}));
    }

    // Nobody answers: the wake-up's traffic stays out of the terminal, the prompt search says it
    // failed, then the feature's own refusal.
    void deploymentIsRefusedWhenNoMirovanAnswers() {
        app_->Simulator()->GetFaults().silent = true;
        const std::string before = Terminal().OutputPane().Text();
        MessageCollector messages;
        Feature("&Deployment")->trigger();
        QCOMPARE(messages.Seen(),
                 QStringList({"Brennix | FAIL TO LOCATE PROMPT",
                              "Mirovan not found | Deployment dialog works only with Mirovan"}));
        QCOMPARE(Terminal().OutputPane().Text(), before);
    }

    void aHeldLinkRefusesEveryFeature() {
        const LinkLease lease(Terminal().Link());
        app_->Simulator()->ClearReceived();
        MessageCollector messages;
        Feature("&Compass")->trigger();
        QCOMPARE(messages.Seen().size(), 1);
        QVERIFY(app_->Simulator()->Received().empty());
    }

  private:
    QAction* Feature(const QString& text) const {
        for (QAction* action : Terminal().Menus().setup->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    CDlgTerminal& Terminal() const { return *app_->Terminal(); }

    GuiEnvironment environment_;
    std::unique_ptr<CBrennixApp> app_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::FeatureLauncherTest, "feature_launcher_test")
#include "feature_launcher_test.moc"
