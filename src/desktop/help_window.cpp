#include "desktop/help_window.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace brennix {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setWindowTitle(tr(kDefaultTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    browser_->setOpenExternalLinks(true);
    // A deployment sheet is not the help page: the window is called what the page shown is.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? tr(kDefaultTitle) : title);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(760, 640);
}

QStringList HelpWindow::CandidatePaths() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(kFileName),
            programDir.filePath(QStringLiteral("../share/brennix/") + kFileName)};
}

void HelpWindow::ShowPage(const QString& path, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(path));
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

}  // namespace brennix
