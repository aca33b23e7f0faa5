#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QTextBrowser;

namespace brennix {

// The program's help page, and the deployment sheets, shown in a window of its own beside the
// terminal, titled as the page shown.
class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kFileName = "brennix.htm";
    static constexpr const char* kContentsAnchor = "Main_Contents";
    // For a page without a title.
    static constexpr const char* kDefaultTitle = "Brennix Help";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Where the help page is looked for, most likely first: beside the program, then where an
    // installation puts shared files.
    static QStringList CandidatePaths();
    // Shows the page at the anchor (its contents by default; none: its top).
    void ShowPage(const QString& path, const QString& anchor = kContentsAnchor);

  private:
    QTextBrowser* browser_;
};

}  // namespace brennix
