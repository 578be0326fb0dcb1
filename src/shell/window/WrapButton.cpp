// The button draws only its frame; a word-wrapped label on top of it carries
// the caption, so the layout can ask how tall a given width makes it.
#include "shell/window/WrapButton.h"

#include <QEvent>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace qv {

int balancedWidth(const QLabel* label, int width) {
    const int height = label->heightForWidth(width);
    int lo = width / 2, hi = width; // hi always keeps the height
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (label->heightForWidth(mid) <= height)
            hi = mid;
        else
            lo = mid + 1;
    }
    return hi;
}

WrapButton::WrapButton(const QString& caption, QWidget* parent, Qt::Alignment align)
    : QPushButton(caption, parent), label_(new QLabel(caption, this)), align_(align) {
    label_->setObjectName(QStringLiteral("caption"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAlignment(align | Qt::AlignVCenter);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QSizePolicy p = sizePolicy();
    p.setHorizontalPolicy(QSizePolicy::Preferred); // narrower than its one-line caption: it wraps
    p.setHeightForWidth(true);
    setSizePolicy(p);
}

void WrapButton::setCaption(const QString& caption) {
    if (text() == caption) return;
    setText(caption);
    label_->setText(caption);
    updateGeometry();
}

QMargins WrapButton::padding() const { return {8, 4, 8, 4}; }

QSize WrapButton::sizeHint() const {
    // As wide as the caption on one line would like, but not so wide that a
    // column grows for it: the layout narrows it and asks for the height.
    const QMargins m = padding();
    const int line = label_->fontMetrics().horizontalAdvance(text()) + 4;
    const int w = std::min(line, 330) + m.left() + m.right();
    return {w, heightForWidth(w)};
}

QSize WrapButton::minimumSizeHint() const {
    // The longest word, so no word is ever cut.
    int word = 0;
    const QFontMetrics fm(label_->font());
    for (const QString& part : text().split(QChar(' '), Qt::SkipEmptyParts))
        word = std::max(word, fm.horizontalAdvance(part));
    const QMargins m = padding();
    const int w = word + m.left() + m.right() + 4;
    return {w, heightForWidth(w)};
}

int WrapButton::heightForWidth(int width) const {
    const QMargins m = padding();
    const int inner = std::max(1, width - m.left() - m.right());
    const int base = QPushButton::sizeHint().height();
    return std::max(base, label_->heightForWidth(inner) + m.top() + m.bottom() + 4);
}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
}

void WrapButton::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    const QRect inner = rect().marginsRemoved(padding());
    const int w = balancedWidth(label_, inner.width());
    const int x = align_ & Qt::AlignLeft ? inner.x() : inner.x() + (inner.width() - w) / 2;
    label_->setGeometry(x, inner.y(), w, inner.height());
}

void WrapButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    // The label follows the button's font by inheritance; only the size changes.
    if (event->type() == QEvent::FontChange) updateGeometry();
}

} // namespace qv
