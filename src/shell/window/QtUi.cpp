// Message texts join their lines with CR; Qt wants LF.
#include "shell/window/QtUi.h"

#include "shell/window/Look.h"
#include "shell/window/MainWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>
#include <vector>

namespace qv {

namespace {

QString shown(const std::string& s) {
    QString t = look::qs(s);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

// A label with a buddy takes "&" as the mark of its shortcut letter; the
// program's texts mean the character itself.
QString literal(QString t) { return t.replace(QChar('&'), QStringLiteral("&&")); }

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

// The program writes its notices line by line; Qt would wrap any line past
// about 500 pixels and leave a word or two alone on the next. The box is
// made as wide as the longest line, as far as the screen allows.
void widenFor(QMessageBox& box, const QString& text) {
    const QFontMetrics fm(box.font());
    int longest = 0;
    for (const QString& line : text.split(QChar('\n')))
        longest = std::max(longest, fm.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int cap = std::min(900, screen ? screen->availableGeometry().width() - 160 : 900);
    // Room for the label's own indent and the spacing beside the icon.
    const int want = std::min(longest + 40, cap);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int icon = box.iconPixmap().isNull() ? 0 : box.iconPixmap().width() + 24;
    grid->addItem(new QSpacerItem(want + icon, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

Answer QtUi::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon, int defaultButton) {
    QMessageBox box(iconOf(icon), shown(title), shown(text), QMessageBox::NoButton, window_);
    // Texts are shown as written: a "<" in a file name or a received line is no markup.
    box.setTextFormat(Qt::PlainText);
    widenFor(box, shown(text));
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
    QInputDialog box(window_);
    box.setObjectName("inputBox");
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(shown(title));
    box.setLabelText(literal(shown(prompt)));
    if (auto* label = box.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    box.setTextValue(look::qs(proposed));
    // Wide enough to show a proposed path whole, where the screen allows.
    const int wanted = box.fontMetrics().horizontalAdvance(look::qs(proposed)) + 80;
    box.resize(std::clamp(wanted, box.sizeHint().width(), 640), box.sizeHint().height());
    if (box.exec() != QDialog::Accepted) return std::string();
    return look::ss(box.textValue());
}

// An editable list: the proposal stands first and may be changed or replaced.
std::string QtUi::choose(const std::string& prompt, const std::string& title, const std::string& proposed,
                         const std::vector<std::string>& offers) {
    if (offers.empty()) return input(prompt, title, proposed);
    QInputDialog box(window_);
    box.setObjectName("chooseBox");
    box.setWindowTitle(shown(title));
    box.setLabelText(literal(shown(prompt)));
    if (auto* label = box.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    QStringList items{look::qs(proposed)};
    for (const auto& o : offers)
        if (o != proposed) items << look::qs(o);
    box.setComboBoxItems(items);
    box.setComboBoxEditable(true);
    box.setTextValue(look::qs(proposed));
    int widest = 0;
    for (const QString& i : items)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(i));
    box.resize(std::clamp(widest + 120, box.sizeHint().width(), 640), box.sizeHint().height());
    if (box.exec() != QDialog::Accepted) return std::string();
    return look::ss(box.textValue());
}

void QtUi::beep() { QApplication::beep(); }

void QtUi::refresh() {
    if (window_)
        window_->refresh();
    else
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

} // namespace qv
