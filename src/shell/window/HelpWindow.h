// Quorvel's own help page, shown on F1 and from the Help menu.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace qv {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showHelp();

    // The page shipped with the program (HTML).
    static const char* page();

private:
    QTextBrowser* browser_ = nullptr;
};

} // namespace qv
