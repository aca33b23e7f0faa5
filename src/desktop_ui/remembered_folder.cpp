#include "desktop_ui/remembered_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace brennix {

QString StartFolder(const Settings& settings, const TextSetting& folder) {
    const QStringList candidates = {
        QString::fromLocal8Bit(settings.Read(folder)),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()};
    for (const QString& candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir()) {
            return candidate;
        }
    }
    return QDir::currentPath();
}

void RememberFolder(Settings& settings, const TextSetting& folder, const QString& chosenFile) {
    if (!chosenFile.isEmpty()) {
        settings.Write(folder, QFileInfo(chosenFile).absolutePath().toLocal8Bit().toStdString());
    }
}

}  // namespace brennix
