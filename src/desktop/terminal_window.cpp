#include "desktop/terminal_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/brennix_app.h"
#include "desktop/color_edit_widget.h"
#include "desktop/commands_menu.h"
#include "desktop/connect_dialog.h"
#include "desktop/deployment_records_dialog.h"
#include "desktop/help_window.h"
#include "desktop/terminal_font.h"
#include "desktop/terminal_status_bar.h"
#include "desktop/tool_bar_icons.h"
#include "link/detached_output.h"
#include "link/link_hold.h"
#include "link/serial_poll.h"
#include "platform/ostrel_data_folder.h"
#include "platform/qt_text.h"
#include "records/record_files.h"
#include "script/gui/cmd_editor_dialog.h"

namespace brennix {
namespace {

constexpr const char* kWelcome =
    "Welcome to Brennix!\r\nDiscover how easy it is to use the new line of Ostrel software !!";
constexpr const char* kProgramName = "Brennix";
constexpr uint32_t kProbeWriteMs = 10;

std::string ToPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

CDlgTerminal::CDlgTerminal(CBrennixApp& app, SerialDevice& device, Clock& clock,
                           const StartOptions& options)
    : app_(app),
      clock_(clock),
      options_(options),
      ui_(clock, this),
      session_(device, clock, ui_),
      relay_(*this, clock),
      terminal_(session_, relay_),
      fileDialogs_(std::make_unique<FileDialogs>(app.Store())) {
    setWindowIcon(ApplicationIcon());
    BuildWindow();
    ApplyFontSize(-1);

    auto* pollTimer = new QTimer(this);
    connect(pollTimer, &QTimer::timeout, this, &CDlgTerminal::PollSerialInput);
    pollTimer->start(kPollIntervalMs);

    Link().Tap().SetOutputWindow(outputPane_);
    menus_->logTimeStamps->setChecked(app_.Store().Read(settings::kLogTimeStamps) != 0);
    Link().Tap().SetLogTimeStamps(menus_->logTimeStamps->isChecked());
    // A job may write the log from its thread: the news is carried to the window's.
    Link().Tap().SetLogFailureCallback([this](const std::string& reason) {
        QMetaObject::invokeMethod(
            this, [this, reason] { ReportLogFailure(reason); }, Qt::QueuedConnection);
    });

    history_.Load(ToPath(HistoryPath()));
    ShowHistory();
    BuildCommandsMenu(*menus_->commands, [this](int id) { RunCommandsEntry(id); });
    commandLine_->setFocus();
    outputPane_->SetText(kWelcome);
    setWindowTitle(
        QString::asprintf("%s v%.2f", kProgramName, QStringLiteral(BRENNIX_VERSION).toDouble()));
    UpdateMenuState();
    outputPane_->SetTextColor(QColor(255, 255, 0));
    outputPane_->SetBackgroundColor(QColor(0, 0, 0));
}

CDlgTerminal::~CDlgTerminal() {
    // Terminal work may still be asking this window something: it is stopped and let end.
    terminal_.Stop();
    ui_.PumpUntil([this] { return !terminal_.Busy(); });
    Link().Tap().SetLogFailureCallback(nullptr);
    const QString path = HistoryPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    history_.Save(ToPath(path));
    Link().Tap().SetOutputWindow(nullptr);
}

void CDlgTerminal::BuildWindow() {
    menus_ = std::make_unique<TerminalMenus>(*menuBar());
    AddFeatureMenus();
    ConnectMenus();
    BuildToolBar();

    outputPane_ = new CColorEdit(this);
    // The pane never keeps the focus: typing always goes to the command line.
    outputPane_->setFocusPolicy(Qt::NoFocus);

    commandLine_ = new QComboBox(this);
    commandLine_->setEditable(true);
    commandLine_->setInsertPolicy(QComboBox::NoInsert);
    commandLine_->setCompleter(nullptr);
    commandLine_->setMaxVisibleItems(static_cast<int>(CommandHistory::kMaxSaved));
    commandLine_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Typed keys reach the combo box (the focus widget) and are passed on to its line edit
    // without the line edit's filters, so both are watched.
    commandLine_->installEventFilter(this);
    commandLine_->lineEdit()->installEventFilter(this);
    connect(commandLine_, &QComboBox::activated, this, &CDlgTerminal::SendHistoryEntry,
            Qt::QueuedConnection);

    auto* sendButton = new QPushButton(tr("&Send"), this);
    sendButton->setDefault(true);
    connect(sendButton, &QPushButton::clicked, this, &CDlgTerminal::SendCommandLine);

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(commandLine_);
    commandRow->addWidget(sendButton);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(outputPane_, 1);
    layout->addLayout(commandRow);
    setCentralWidget(central);
    statusBar_ = new TerminalStatusBar(this);
    setStatusBar(statusBar_);
    resize(800, 560);
}

void CDlgTerminal::BuildToolBar() {
    QToolBar* bar = addToolBar(tr("Terminal"));
    bar->setObjectName(QStringLiteral("terminalToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    const auto add = [&](ToolBarImage image, const QString& tip, void (CDlgTerminal::*handler)()) {
        QAction* action = bar->addAction(ToolBarIcon(image), tip);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add(ToolBarImage::kPlug, tr("Connect"), &CDlgTerminal::Connect);
    add(ToolBarImage::kSpark, tr("Send break"), &CDlgTerminal::SendBreakToInstrument);
    bar->addSeparator();
    add(ToolBarImage::kLetters, tr("Next font size"), &CDlgTerminal::NextFontSize);
    bar->addSeparator();
    add(ToolBarImage::kQuestionMark, tr("Help"), &CDlgTerminal::ShowHelp)
        ->setShortcut(QKeySequence::HelpContents);
}

void CDlgTerminal::ConnectMenus() {
    const TerminalMenus& menus = *menus_;
    connect(menus.english, &QAction::triggered, this, [this] { SetEnglishUnits(true); });
    connect(menus.metric, &QAction::triggered, this, [this] { SetEnglishUnits(false); });
    connect(menus.sdi12, &QAction::triggered, this, [this] { SetSdi12Mode(true); });
    connect(menus.rs232, &QAction::triggered, this, [this] { SetSdi12Mode(false); });
    connect(menus.exit, &QAction::triggered, this, &QWidget::close);
    connect(menus.openLog, &QAction::triggered, this, &CDlgTerminal::OpenLogFile);
    connect(menus.closeLog, &QAction::triggered, this, &CDlgTerminal::CloseLogFile);
    connect(menus.logTimeStamps, &QAction::toggled, this, &CDlgTerminal::SetLogTimeStamps);
    connect(menus.runCommandFile, &QAction::triggered, this, &CDlgTerminal::RunCommandFile);
    connect(menus.commandEditor, &QAction::triggered, this, &CDlgTerminal::OpenCommandEditor);
    connect(menus.deploymentRecords, &QAction::triggered, this,
            &CDlgTerminal::ShowDeploymentRecords);
}

void CDlgTerminal::AddFeatureMenus() {
    for (const FeatureEntry& entry : features_) {
        QAction* action = menus_->AddFeature(entry.menuText);
        connect(action, &QAction::triggered, this, [this, &entry] { OpenFeature(entry); });
    }
}

void CDlgTerminal::OpenFeature(const FeatureEntry& entry) {
    if (RefuseWhileBusy()) {
        return;
    }
    LaunchFeature(entry, FeatureContext{this, session_, ui_, app_.Store(), app_.Units(), 0});
    UpdateMenuState();
    commandLine_->setFocus();
}

void CDlgTerminal::ConnectAtStart() {
    if (options_.port.empty()) {
        Connect();
    } else {
        ConnectDirectly();
    }
    UpdateMenuState();
}

void CDlgTerminal::ConnectDirectly() {
    lastPort_ = options_.port;
    lastRate_ = options_.baudRate;
    // A successful open reports the connection itself. The reason is taken before the status
    // line, whose own query of the closed port would replace it.
    if (const std::optional<std::string> failure =
            terminal_.Connect(options_.port, options_.baudRate)) {
        Link().ShowStatus();
        ShowWarning(*failure);
    }
    rateUnconfirmed_ = Link().IsOpen();
    Instrument().SetLink(&Link());
}

void CDlgTerminal::Connect() {
    RunConnectDialog({});
}

void CDlgTerminal::RunConnectDialog(const QString& searchPort) {
    if (RefuseWhileBusy()) {
        return;
    }
    bool accepted = false;
    bool probed = false;
    int address = 0;
    {
        // The dialog's own traffic goes to the log only.
        const LinkHold hold(Link());
        const DetachedOutput detached(Link());
        CDlgConnect dialog(Link(), clock_, ui_, app_.Store(), app_.SimulatedPortName(), this);
        if (!lastPort_.empty()) {
            dialog.ChoosePort(lastPort_, lastRate_);
        }
        CentreOnWindow(dialog);
        if (!searchPort.isEmpty()) {
            dialog.SearchRateOf(searchPort);
        }
        accepted = dialog.exec() == QDialog::Accepted;
        probed = dialog.Probed();
        address = dialog.Rs485Address();
        Link().Purge(kPurgeRxClear);
    }
    Link().ShowStatus();
    Instrument().SetLink(&Link());
    // A search found the instrument at its rate; a named rate is only what was chosen.
    rateUnconfirmed_ = accepted && !probed;
    if (accepted) {
        lastPort_ = Link().PortName();
        lastRate_ = Link().GetBaudRate();
        Instrument().SetRs485Address(static_cast<uint32_t>(address));
        // Typed commands reach an addressed instrument only once it is selected.
        Instrument().SelectAddress();
    }
    if (probed) {
        // Makes the instrument answer with its prompt, which the next poll shows.
        Link().Write(" ", kProbeWriteMs, true);
    }
    UpdateStatusBar();
    commandLine_->setFocus();
}

// Placed before it shows, so it never depends on whether a window manager centres it, nor on
// where the terminal stood before the window manager moved it.
void CDlgTerminal::CentreOnWindow(QWidget& dialog) const {
    dialog.adjustSize();
    const QRect frame = frameGeometry();
    dialog.move(frame.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

void CDlgTerminal::UpdateMenuState() {
    menus_->Update(app_.Units() == UnitSystem::kEnglish, Instrument().IsSdi12Mode(),
                   Link().Tap().IsLogOpen());
    UpdateStatusBar();
}

// A held link is not asked anything: its holder may be using it from another thread. Busy is
// work on the line, not a window that is only open over the terminal.
void CDlgTerminal::UpdateStatusBar() {
    if (!session_.LinkBusy()) {
        const uint32_t rate = Link().IsOpen() ? Link().GetBaudRate() : 0;
        statusBar_->ShowConnection(
            rate == 0 ? QString() : QString::fromLocal8Bit(Link().PortName().c_str()), rate);
    }
    statusBar_->ShowAddress(Instrument().Rs485Address());
    statusBar_->ShowLog(Link().Tap().IsLogOpen() ? logPath_ : QString(),
                        Link().Tap().LogWriteFailed());
    statusBar_->ShowScript(terminal_.IsWorking(), Link().Waits().InUse());
}

void CDlgTerminal::ReportLogFailure(const std::string& reason) {
    const std::string text = "\r\nCannot write the log file " + ToPath(logPath_) + ": " + reason +
                             "; the log is incomplete.\r\n";
    outputPane_->Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    UpdateStatusBar();
}

bool CDlgTerminal::RefuseWhileBusy() {
    if (!terminal_.Busy()) {
        return false;
    }
    ShowWarning(std::string(TerminalService::kBusyText));
    return true;
}

void CDlgTerminal::ShowWarning(const QString& text) {
    ShowWarning(Latin1Bytes(text));
}

void CDlgTerminal::ShowWarning(const std::string& text) {
    ui_.ShowMessage(text, "", MessageButtons::kOk, MessageIcon::kExclamation);
}

bool CDlgTerminal::Started(const std::optional<std::string>& refusal) {
    // A refused command file names its path.
    if (refusal) {
        ui_.ShowText(PathText(*refusal), "", MessageButtons::kOk, MessageIcon::kExclamation);
    }
    UpdateStatusBar();
    return !refusal;
}

void CDlgTerminal::WorkFinished() {
    UpdateMenuState();
    commandLine_->setFocus();
}

void CDlgTerminal::PollSerialInput() {
    UpdateStatusBar();
    // Whoever holds the link (a script, a dialog, a job) reads the port itself; otherwise the
    // output keeps flowing whatever window has the focus.
    if (terminal_.Busy() || !Link().IsOpen()) {
        return;
    }
    SerialPoll::Run(Link());
    // A port that went away (the far end closed, an adapter pulled) is said when the poll meets
    // it, not only at the next activation change.
    CheckConnection();
}

void CDlgTerminal::SendCommandLine() {
    if (RefuseWhileBusy()) {
        return;
    }
    // A port lost since the last poll is said first. The refused line stays in the command line,
    // to be sent once connected again.
    CheckConnection();
    const std::string text = Latin1Bytes(commandLine_->currentText());
    const uint64_t receivedBefore = Link().BytesReceived();
    if (!Started(terminal_.SendLine(
            text, [this, text, receivedBefore](bool) { LineAnswered(text, receivedBefore); }))) {
        return;
    }
    commandLine_->clearEditText();
    if (!text.empty()) {
        history_.Add(text);
        ShowHistory();
    }
}

void CDlgTerminal::LineAnswered(const std::string& text, uint64_t receivedBefore) {
    WorkFinished();
    CheckConnection();
    // The instrument echoes every line it takes; a directive may send nothing at all.
    if (rateUnconfirmed_ && Link().IsOpen() && !text.starts_with('#')) {
        rateUnconfirmed_ = false;
        if (Link().BytesReceived() == receivedBefore) {
            OfferRateSearch();
        }
    }
}

void CDlgTerminal::OfferRateSearch() {
    const QString port = QString::fromLocal8Bit(Link().PortName().c_str());
    const QString text =
        tr("Nothing came back from %1 at %2 baud.\n%3\n\nSearch for the instrument's rate now? "
           "The search sends a BREAK, which returns the instrument to command mode.")
            .arg(port)
            .arg(Link().GetBaudRate())
            .arg(QString::fromLatin1(CConnectSearch::kRateMayBeWrong));
    if (ui_.ShowMessage(Latin1Bytes(text), "", MessageButtons::kYesNo, MessageIcon::kQuestion) ==
        MessageResult::kYes) {
        RunConnectDialog(port);
    }
}

void CDlgTerminal::SendHistoryEntry(int index) {
    if (index < 0) {
        return;
    }
    commandLine_->setEditText(commandLine_->itemText(index));
    SendCommandLine();
}

void CDlgTerminal::ShowHistory() {
    const QSignalBlocker blocker(commandLine_);
    const QString typed = commandLine_->currentText();
    commandLine_->clear();
    for (const std::string& entry : history_.Entries()) {
        commandLine_->addItem(Latin1Text(entry));
    }
    commandLine_->setCurrentIndex(-1);
    commandLine_->setEditText(typed);
}

QString CDlgTerminal::HistoryPath() const {
    const QString folder = options_.dataFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                               : options_.dataFolder;
    return QDir(folder).filePath(CommandHistory::kFileName);
}

void CDlgTerminal::SendBreakToInstrument() {
    // Without a port there is nothing to send it on, and nothing to say.
    if (Link().IsOpen()) {
        Started(terminal_.SendBreak([this](bool) { WorkFinished(); }));
    }
}

void CDlgTerminal::NextFontSize() {
    ApplyFontSize(NormaliseTerminalFontSize(app_.Store().Read(settings::kTerminalFont)) + 1);
}

void CDlgTerminal::ApplyFontSize(int size) {
    if (size < 0) {
        size = app_.Store().Read(settings::kTerminalFont);
    }
    size = NormaliseTerminalFontSize(size);
    outputPane_->setFont(TerminalFontForSize(size));
    app_.Store().Write(settings::kTerminalFont, size);
}

void CDlgTerminal::ShowHelp() {
    const QStringList paths = HelpWindow::CandidatePaths();
    const auto found = std::find_if(paths.begin(), paths.end(), [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly);
    });
    if (found == paths.end()) {
        ui_.ShowText(QDir::toNativeSeparators(paths.front()), "Unable to open file",
                     MessageButtons::kOk, MessageIcon::kNone);
        return;
    }
    HelpViewer().ShowPage(*found);
}

HelpWindow& CDlgTerminal::HelpViewer() {
    if (helpWindow_ == nullptr) {
        helpWindow_ = new HelpWindow(this);
    }
    return *helpWindow_;
}

void CDlgTerminal::ShowDeploymentRecords() {
    if (records_ == nullptr) {
        records_ = new CDlgDeploymentRecords(
            RecordsFolder(OstrelDataFolder()),
            [this](const QString& sheet) { HelpViewer().ShowPage(sheet, {}); }, ui_, this);
        records_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        records_->Refresh();
    }
    records_->show();
    records_->raise();
    records_->activateWindow();
}

void CDlgTerminal::SetEnglishUnits(bool english) {
    app_.SetUnits(english ? UnitSystem::kEnglish : UnitSystem::kMetric);
    UpdateMenuState();
}

void CDlgTerminal::SetSdi12Mode(bool on) {
    Started(terminal_.SetSdi12Mode(on, [this](bool) { WorkFinished(); }));
    // The menu shows the mode the instrument is in, not the one asked for.
    UpdateMenuState();
}

void CDlgTerminal::OpenLogFile() {
    const QString path = fileDialogs_->LogFileToOpen(this);
    if (path.isEmpty()) {
        return;
    }
    if (Link().Tap().OpenLog(ToPath(path))) {
        logPath_ = path;
    } else {
        ShowWarning(tr("Cannot create the log file\n%1:\n%2")
                        .arg(QDir::toNativeSeparators(path),
                             QString::fromLocal8Bit(Link().Tap().LogErrorMessage().c_str())));
    }
    UpdateMenuState();
}

void CDlgTerminal::CloseLogFile() {
    Link().Tap().OpenLog("");
    logPath_.clear();
    UpdateMenuState();
}

void CDlgTerminal::SetLogTimeStamps(bool on) {
    Link().Tap().SetLogTimeStamps(on);
    app_.Store().Write(settings::kLogTimeStamps, on ? 1 : 0);
}

void CDlgTerminal::RunCommandFile() {
    if (RefuseWhileBusy()) {
        return;
    }
    const QString path = fileDialogs_->CommandFileToRun(this);
    if (path.isEmpty()) {
        return;
    }
    Started(terminal_.RunFile(ToPath(QDir::toNativeSeparators(path)),
                              [this](bool) { WorkFinished(); }));
}

void CDlgTerminal::OpenCommandEditor() {
    if (RefuseWhileBusy()) {
        return;
    }
    CDlgCmdEditor editor(
        [this](const std::string& text, const std::function<void()>& ran) {
            if (!Started(terminal_.SendLine(text, [this, ran](bool) {
                    WorkFinished();
                    ran();
                }))) {
                ran();
            }
        },
        ui_, this);
    editor.exec();
    commandLine_->setFocus();
}

void CDlgTerminal::RunCommandsEntry(int id) {
    Started(terminal_.RunCommandsEntry(id, [this](bool) { WorkFinished(); }));
}

void CDlgTerminal::CheckConnection() {
    if (terminal_.PortLost()) {
        UpdateStatusBar();
        ShowWarning(std::string(TerminalService::kLostPortText));
    }
}

void CDlgTerminal::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Checked when the user comes back to the terminal and when they leave it, so a pulled adapter
    // is said at once.
    if (event->type() == QEvent::ActivationChange) {
        CheckConnection();
    }
}

void CDlgTerminal::closeEvent(QCloseEvent* event) {
    if (RefuseWhileBusy()) {
        event->ignore();
        return;
    }
    if (helpWindow_ != nullptr) {
        helpWindow_->close();
    }
    event->accept();
    emit Closed();
}

bool CDlgTerminal::eventFilter(QObject* watched, QEvent* event) {
    // The combo box would treat Enter and the arrow keys as choosing a history entry, which
    // sends it. Enter sends what is typed, as the default button would; the arrow keys only bring
    // an entry back for editing.
    const bool commandLine = watched == commandLine_ || watched == commandLine_->lineEdit();
    if (!commandLine || event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SendCommandLine();
            return true;
        case Qt::Key_Up:
            RecallHistory(+1);
            return true;
        case Qt::Key_Down:
            RecallHistory(-1);
            return true;
        default:
            return QMainWindow::eventFilter(watched, event);
    }
}

// The list holds the newest entry first; below it, at index -1, is the line being typed, which
// comes back when Down walks past the newest entry.
void CDlgTerminal::RecallHistory(int step) {
    const int current = commandLine_->currentIndex();
    const int index = std::clamp(current + step, -1, commandLine_->count() - 1);
    if (index == current) {
        return;
    }
    const QSignalBlocker blocker(commandLine_);
    if (current < 0) {
        draft_ = commandLine_->currentText();
    }
    commandLine_->setCurrentIndex(index);
    if (index < 0) {
        commandLine_->setEditText(draft_);
    }
}

}  // namespace brennix
