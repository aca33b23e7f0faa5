#include "desktop/commands_menu.h"

#include <QAction>

#include "platform/qt_text.h"
#include "script/commands_table.h"

namespace brennix {

void BuildCommandsMenu(QMenu& commands, const std::function<void(int id)>& run) {
    commands.clear();
    QMenu* current = &commands;
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        if (entry.IsGroup()) {
            current = new QMenu(Latin1Text(entry.GroupTitle()), &commands);
            QAction* first = commands.actions().isEmpty() ? nullptr : commands.actions().first();
            commands.insertMenu(first, current);
            continue;
        }
        const int id = entry.Id();
        QAction* action = current->addAction(Latin1Text(entry.Label()));
        QObject::connect(action, &QAction::triggered, current, [run, id] { run(id); });
    }
}

}  // namespace brennix
