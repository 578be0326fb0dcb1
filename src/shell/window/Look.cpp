// Colours and texts as the widgets want them.
#include "shell/window/Look.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace qv::look {

QColor colour(Colour c) {
    if (c & 0x80000000u) {
        // Only the button face is used as a system colour; anything else falls back to the window colour.
        const auto role = (c & 0xFFu) == 15 ? QPalette::Button : QPalette::Window;
        return QApplication::palette().color(role);
    }
    const auto rgb = toRgb(c);
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

Colour readableOn(Colour back) {
    const QColor c = colour(back);
    // Perceived brightness, weighted as the eye weighs the three primaries.
    const int y = (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000;
    return y < 140 ? kWhite : 0;
}

void paint(QWidget* w, Colour back, Colour fore) {
    const QString sheet =
        QStringLiteral("background-color: %1; color: %2;").arg(colour(back).name(), colour(fore).name());
    if (w->styleSheet() != sheet) w->setStyleSheet(sheet);
}

void setText(QLineEdit* e, const std::string& text) {
    const QString t = qs(text);
    if (e->text() != t) e->setText(t);
}

} // namespace qv::look
