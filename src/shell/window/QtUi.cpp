// Message texts join their lines with CR; Qt wants LF.
#include "shell/window/QtUi.h"

#include "shell/window/Look.h"
#include "shell/window/MainWindow.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <vector>

namespace qv {

namespace {

QString shown(const std::string& s) {
    QString t = look::qs(s);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

struct ButtonOf {
    QMessageBox::StandardButton button;
    Answer answer;
};

std::vector<ButtonOf> buttonsOf(Buttons b) {
    switch (b) {
    case Buttons::Ok: return {{QMessageBox::Ok, Answer::Ok}};
    case Buttons::OkCancel: return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::YesNo: return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case Buttons::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::RetryCancel: return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::AbortRetryIgnore:
        return {{QMessageBox::Abort, Answer::Abort},
                {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
    }
    return {{QMessageBox::Ok, Answer::Ok}};
}

QMessageBox::Icon iconOf(Icon i) {
    switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Answer QtUi::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon, int defaultButton) {
    QMessageBox box(iconOf(icon), shown(title), shown(text), QMessageBox::NoButton, window_);
    const auto set = buttonsOf(buttons);
    for (const auto& b : set)
        box.addButton(b.button);
    const std::size_t d = defaultButton >= 1 && static_cast<std::size_t>(defaultButton) <= set.size()
                              ? static_cast<std::size_t>(defaultButton - 1)
                              : 0;
    box.setDefaultButton(set[d].button);
    // Closing the box with Escape or the title bar counts as its last button
    // (Cancel, No or OK), never as a yes.
    box.setEscapeButton(set.back().button);
    const int pressed = box.exec();
    for (const auto& b : set)
        if (pressed == b.button) return b.answer;
    return set.back().answer;
}

std::string QtUi::input(const std::string& prompt, const std::string& title, const std::string& proposed) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(window_, shown(title), shown(prompt), QLineEdit::Normal, look::qs(proposed), &ok);
    return ok ? look::ss(answer) : std::string();
}

void QtUi::beep() { QApplication::beep(); }

void QtUi::refresh() {
    if (window_)
        window_->refresh();
    else
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

} // namespace qv
