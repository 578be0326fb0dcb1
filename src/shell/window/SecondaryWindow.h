// Form2: the secondary station window with one line of fields per slot. Only
// slot 1's position is filled; the other rows are laid out for later use.
#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

namespace qv {

struct SlotState;

class SecondaryWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SecondaryWindow(QWidget* parent = nullptr);
    void draw(const SlotState& slots);

private:
    std::array<QLineEdit*, 8> call_{};
    std::array<QLineEdit*, 8> position_{};
};

} // namespace qv
