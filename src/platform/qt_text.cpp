#include "platform/qt_text.h"

namespace brennix {

QString Latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Latin1Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

QString PathText(std::string_view path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace brennix
