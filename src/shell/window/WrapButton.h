// A push button whose caption wraps onto as many lines as its width needs: a
// long caption makes the button taller, never its column wider.
#pragma once

#include <QPushButton>

class QLabel;

namespace qv {

// The narrowest width up to `width` at which the wrapped `label` takes no more
// lines than at `width`: its lines come out even, no word left alone on the last.
int balancedWidth(const QLabel* label, int width);

class WrapButton final : public QPushButton {
    Q_OBJECT
public:
    WrapButton(const QString& caption, QWidget* parent, Qt::Alignment align = Qt::AlignCenter);

    // QPushButton::setText is not virtual: captions change through here.
    void setCaption(const QString& caption);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QMargins padding() const;

    QLabel* label_;
    Qt::Alignment align_;
};

} // namespace qv
