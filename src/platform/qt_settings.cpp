#include "platform/qt_settings.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace brennix {

namespace {

QString FromView(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(FromView(settings::kOrganisation),
                                       FromView(settings::kApplication));
}

}  // namespace

int QtSettings::Read(const IntSetting& setting) const {
    bool valid = false;
    const int value = Store()->value(FromView(setting.key), setting.fallback).toInt(&valid);
    return valid ? value : setting.fallback;
}

std::string QtSettings::Read(const TextSetting& setting) const {
    return Store()
        ->value(FromView(setting.key), FromView(setting.fallback))
        .toString()
        .toLocal8Bit()
        .toStdString();
}

bool QtSettings::Contains(std::string_view key) const {
    return Store()->contains(FromView(key));
}

void QtSettings::Write(const IntSetting& setting, int value) {
    Store()->setValue(FromView(setting.key), value);
}

void QtSettings::Write(const TextSetting& setting, const std::string& value) {
    Store()->setValue(FromView(setting.key), FromView(value));
}

}  // namespace brennix
