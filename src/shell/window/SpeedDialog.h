// Form3: the modal choice of the serial speed between Quorvel and the TNC.
#pragma once

#include <QDialog>
#include <array>

class QRadioButton;

namespace qv {

class SpeedDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SpeedDialog(QWidget* parent = nullptr);

    // Preselects the option whose speed matches `settings` (case-blind);
    // nothing when none does.
    void preselect(const std::string& settings);
    // The settings text of the chosen option, "" when none is chosen.
    std::string chosen() const;

    // Shows the dialog modal: the new settings text on OK with an option
    // chosen, "" on CANCEL.
    static std::string choose(QWidget* parent, const std::string& current);

private:
    std::array<QRadioButton*, 4> option_{};
};

} // namespace qv
