#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

namespace brennix::test {

// Saves a picture of the widget as name.png into the folder named by BRENNIX_SCREENSHOT_DIR, so a
// developer can look at a dialog as the tests leave it; does nothing when the variable is unset.
inline bool SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("BRENNIX_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return true;
    return widget.grab().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace brennix::test
