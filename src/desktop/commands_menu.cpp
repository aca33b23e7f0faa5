#include "desktop/commands_menu.h"

#include <QAction>
#include <string_view>

#include "script/commands_table.h"

namespace brennix {
namespace {

QString FromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void BuildCommandsMenu(QMenu& commands, const std::function<void(int id)>& run) {
    commands.clear();
    QMenu* current = &commands;
    for (const CommandEntry& entry : CommandsTable::Entries()) {
        if (entry.IsGroup()) {
            current = new QMenu(FromLatin1(entry.GroupTitle()), &commands);
            QAction* first = commands.actions().isEmpty() ? nullptr : commands.actions().first();
            commands.insertMenu(first, current);
            continue;
        }
        const int id = entry.Id();
        QAction* action = current->addAction(FromLatin1(entry.Label()));
        QObject::connect(action, &QAction::triggered, current, [run, id] { run(id); });
    }
}

}  // namespace brennix
