// The eight tracked-station rows: letter, CALL ID, tactical name, tracking
// switch, last position and last heard, each row in its slot's colour.
#pragma once

#include "core/Colour.h"

#include <QGroupBox>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qv {

struct SlotState;

class SlotGrid final : public QGroupBox {
    Q_OBJECT
public:
    explicit SlotGrid(QWidget* parent = nullptr);

    struct Row {
        QLabel* letter = nullptr;      // LabelCallidLetterA..H
        QLineEdit* callId = nullptr;   // CallsignID1..8
        QLineEdit* team = nullptr;     // Team1name..8
        QCheckBox* track = nullptr;    // callsign1track..8
        QLineEdit* location = nullptr; // callsign1location..8
        QLabel* lastHeard = nullptr;   // CallID1LastHeard..8
    };
    // Row of slot n (1..8).
    Row& row(int n) { return rows_[static_cast<std::size_t>(n - 1)]; }

    void draw(const SlotState& slots, bool teamsVisible);

    // The background colour of each slot's fields.
    static Colour slotColour(int n);

private:
    std::array<Row, 8> rows_;
};

} // namespace qv
