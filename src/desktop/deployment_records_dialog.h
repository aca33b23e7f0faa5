#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "desktop_ui/qt_ui_host.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace brennix {

// Tools > Deployment records...: the records in a folder, newest first, by date, serial number,
// file name and mode. A record opens as its deployment sheet in the help viewer (Open, a double
// click) or in the desktop's browser; a record whose sheet is missing cannot be opened.
class CDlgDeploymentRecords : public QDialog {
    Q_OBJECT
  public:
    // Shows an HTML file in the program's help viewer.
    using Viewer = std::function<void(const QString& htmlPath)>;

    CDlgDeploymentRecords(std::string folder, Viewer viewer, QtUiHost& ui,
                          QWidget* parent = nullptr);

    // Reads the folder again.
    void Refresh();
    int Count() const;

  private:
    QString SelectedSheet() const;
    void UpdateButtons();
    void OpenInViewer();
    void OpenInBrowser();

    std::string folder_;
    Viewer viewer_;
    QtUiHost& ui_;
    QTreeWidget* list_;
    QLabel* note_;
    QPushButton* open_;
    QPushButton* browser_;
};

}  // namespace brennix
