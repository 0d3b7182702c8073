#include "ui/app/help_window.h"

#include <QAction>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(const QString& index, QWidget* parent)
    : QWidget(parent, Qt::Window), index_(index), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Velkarn manual"));
    resize(760, 680);
    browser_->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    QAction* contents = bar->addAction(QStringLiteral("Contents"));
    QAction* back = bar->addAction(QStringLiteral("Back"));
    QAction* forward = bar->addAction(QStringLiteral("Forward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Velkarn manual") : title);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
}

void THelpWindow::ShowContents() {
    const QUrl url = QUrl::fromLocalFile(index_);
    if (browser_->source() != url) {
        browser_->setSource(url);
    } else {
        browser_->home();
    }
    show();
    raise();
    activateWindow();
}
