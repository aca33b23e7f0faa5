#include "desktop/terminal_menus.h"

namespace brennix {
namespace {

QAction* AddCheckable(QMenu* menu, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    return action;
}

}  // namespace

TerminalMenus::TerminalMenus(QMenuBar& bar) {
    setup = bar.addMenu(QObject::tr("&Setup"));
    QMenu* units = setup->addMenu(QObject::tr("&Units"));
    unitsMenu = units->menuAction();
    english = AddCheckable(units, QObject::tr("&English"));
    metric = AddCheckable(units, QObject::tr("&Metric"));
    QMenu* mode = setup->addMenu(QObject::tr("&Mode"));
    sdi12 = AddCheckable(mode, QObject::tr("SDI-12"));
    rs232 = AddCheckable(mode, QObject::tr("RS232"));
    setup->addSeparator();
    exit = setup->addAction(QObject::tr("E&xit"));
    exit->setShortcut(QKeySequence::Quit);
    exit->setMenuRole(QAction::QuitRole);

    tools = bar.addMenu(QObject::tr("&Tools"));
    openLog = tools->addAction(QObject::tr("Open log file ..."));
    closeLog = tools->addAction(QObject::tr("Close log file"));
    logTimeStamps = AddCheckable(tools, QObject::tr("Time stamps"));
    tools->addSeparator();
    runCommandFile = tools->addAction(QObject::tr("Run command file..."));
    commandEditor = tools->addAction(QObject::tr("Command editor..."));
    tools->addSeparator();
    deploymentRecords = tools->addAction(QObject::tr("Deployment records..."));

    commands = bar.addMenu(QObject::tr("Commands"));
}

QAction* TerminalMenus::AddFeature(const QString& text) {
    auto* action = new QAction(text, setup);
    setup->insertAction(unitsMenu, action);
    return action;
}

void TerminalMenus::Update(bool englishUnits, bool sdi12Mode, bool logOpen) {
    english->setChecked(englishUnits);
    metric->setChecked(!englishUnits);
    openLog->setEnabled(!logOpen);
    closeLog->setEnabled(logOpen);
    sdi12->setChecked(sdi12Mode);
    rs232->setChecked(!sdi12Mode);
}

}  // namespace brennix
