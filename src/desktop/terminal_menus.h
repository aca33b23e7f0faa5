#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace brennix {

// The terminal's menu bar, "&Setup", "&Tools" and "Commands", with the items whose check marks
// and enabled states follow the program's state. The window connects the actions.
struct TerminalMenus {
    explicit TerminalMenus(QMenuBar& bar);

    // Check marks follow the units and the mode; the log items follow whether a log is open.
    void Update(bool englishUnits, bool sdi12Mode, bool logOpen);
    // Adds a feature's item to "&Setup", after the features added before it.
    QAction* AddFeature(const QString& text);

    QMenu* setup = nullptr;
    QMenu* tools = nullptr;
    QMenu* commands = nullptr;
    QAction* unitsMenu = nullptr;

    QAction* english = nullptr;
    QAction* metric = nullptr;
    QAction* sdi12 = nullptr;
    QAction* rs232 = nullptr;
    QAction* exit = nullptr;
    QAction* openLog = nullptr;
    QAction* closeLog = nullptr;
    QAction* logTimeStamps = nullptr;
    QAction* runCommandFile = nullptr;
    QAction* commandEditor = nullptr;
    QAction* deploymentRecords = nullptr;
};

}  // namespace brennix
