#include "desktop/file_dialog_fit.h"

#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>
#include <algorithm>

namespace brennix {

namespace {

// Wide enough for a long file name beside size, type and a whole date.
constexpr int kMinimumWidth = 760;
constexpr int kMinimumHeight = 440;

void Fit(QFileDialog& dialog) {
    if (auto* list = dialog.findChild<QTreeView*>("treeView")) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    if (auto* places = dialog.findChild<QListView*>("sidebar")) {
        places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth());
    }
    dialog.resize(std::max(dialog.width(), kMinimumWidth),
                  std::max(dialog.height(), kMinimumHeight));
}

}  // namespace

bool FileDialogFit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<QFileDialog*>(watched)) {
            Fit(*dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brennix
