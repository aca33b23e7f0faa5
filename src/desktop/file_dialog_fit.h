#pragma once

#include <QObject>

namespace brennix {

// Qt's own file dialog opens too narrow for its list: the dates and the folder names of its side
// bar end in "...". Installed on the application, this widens every such dialog as it is shown
// and keeps the size, type and date columns as wide as their contents; the names take the rest.
// A dialog of the desktop's own (GTK, KDE, Windows) is left as it is.
class FileDialogFit : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace brennix
