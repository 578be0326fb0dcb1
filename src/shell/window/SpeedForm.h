// Form3: the modal choice of the serial speed between Quorvel and the TNC.
#pragma once

#include "platform/SpeedDialog.h"

#include <QDialog>
#include <array>

class QRadioButton;

namespace qv {

class SpeedForm final : public QDialog {
    Q_OBJECT
public:
    explicit SpeedForm(QWidget* parent = nullptr);

    // Selects option `index` (0 to 3); -1 selects none.
    void preselect(int index);
    // The option selected, -1 for none.
    int selected() const;

private:
    std::array<QRadioButton*, 4> option_{};
};

// The speed dialog port, showing Form3 over the main window.
class QtSpeedDialog final : public SpeedDialog {
public:
    explicit QtSpeedDialog(QWidget* parent) : parent_(parent) {}
    int showModal(int preselected) override;

private:
    QWidget* parent_;
};

} // namespace qv
