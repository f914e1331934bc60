#include "app/HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("帮助"));
    setObjectName(QStringLiteral("HelpWindow"));
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

bool HelpWindow::showTopic(int context)
{
    QFile topic(QStringLiteral(":/help/%1.html").arg(context));
    if (!topic.open(QIODevice::ReadOnly)) {
        browser_->setHtml(QStringLiteral("<p>没有找到帮助主题 %1。</p>").arg(context));
        return false;
    }
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setHtml(QString::fromUtf8(topic.readAll()));
    setWindowTitle(QStringLiteral("帮助 - %1").arg(browser_->documentTitle()));
    return true;
}

HelpWindow* ShowHelp(QWidget* parent, int context)
{
    auto* window =
        parent ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new HelpWindow(parent);
    window->setWindowFlag(Qt::Window);
    window->showTopic(context);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
