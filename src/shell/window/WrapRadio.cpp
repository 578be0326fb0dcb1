// The style draws the indicator (and the focus frame); a word-wrapped label
// beside it carries the caption.
#include "shell/window/WrapRadio.h"

#include "shell/window/WrapButton.h"

#include <QEvent>
#include <QLabel>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace qv {

WrapRadio::WrapRadio(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent), label_(new QLabel(caption, this)) {
    label_->setObjectName(QStringLiteral("caption"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QSizePolicy p = sizePolicy();
    p.setHorizontalPolicy(QSizePolicy::Preferred); // narrower than its one-line caption: it wraps
    p.setHeightForWidth(true);
    setSizePolicy(p);
}

int WrapRadio::captionLeft() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &opt, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &opt, this) + 2;
}

QSize WrapRadio::sizeHint() const {
    const int w = captionLeft() + label_->fontMetrics().horizontalAdvance(text()) + 4;
    return {w, heightForWidth(w)};
}

QSize WrapRadio::minimumSizeHint() const {
    int word = 0;
    const QFontMetrics fm(label_->font());
    for (const QString& part : text().split(QChar(' '), Qt::SkipEmptyParts))
        word = std::max(word, fm.horizontalAdvance(part));
    // Two or three words to a line at the least, so it reads as a caption.
    const int w = captionLeft() + std::max(word, std::min(label_->fontMetrics().horizontalAdvance(text()) + 4, 180));
    return {w, heightForWidth(w)};
}

int WrapRadio::heightForWidth(int width) const {
    const int text = label_->heightForWidth(std::max(1, width - captionLeft()));
    return std::max(QRadioButton::sizeHint().height(), text + 4);
}

void WrapRadio::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    p.drawControl(QStyle::CE_RadioButton, opt);
}

void WrapRadio::resizeEvent(QResizeEvent* event) {
    QRadioButton::resizeEvent(event);
    const int left = captionLeft();
    label_->setGeometry(left, 2, balancedWidth(label_, std::max(1, width() - left)), height() - 4);
}

void WrapRadio::changeEvent(QEvent* event) {
    QRadioButton::changeEvent(event);
    if (event->type() == QEvent::FontChange) updateGeometry();
}

bool WrapRadio::hitButton(const QPoint& pos) const { return rect().contains(pos); }

} // namespace qv
