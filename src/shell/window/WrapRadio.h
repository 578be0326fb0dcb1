// An option button whose caption wraps under itself when its column is
// narrow, instead of widening the column.
#pragma once

#include <QRadioButton>

class QLabel;

namespace qv {

class WrapRadio final : public QRadioButton {
    Q_OBJECT
public:
    WrapRadio(const QString& caption, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int captionLeft() const; // where the caption starts, right of the indicator

    QLabel* label_;
};

} // namespace qv
