// The help viewer: one HTML topic per context number, compiled into the
// program as resources (:/help/<context>.html).
#pragma once

#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows topic context; false (and a page saying so) when there is none.
    bool showTopic(int context);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// Opens the help window of parent at a topic; the window stays usable beside
// a modal calculator. Returns it (owned by parent).
HelpWindow* ShowHelp(QWidget* parent, int context);
