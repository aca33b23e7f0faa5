#include "platform/ostrel_data_folder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace brennix {

std::string OstrelDataFolder() {
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return QFile::encodeName(documents.filePath("OstrelData")).toStdString();
}

}  // namespace brennix
