// A separate top-level window: it follows the advanced-controls toggle.
#include "shell/window/SecondaryWindow.h"

#include "core/SlotState.h"
#include "shell/window/Look.h"
#include "shell/window/SlotGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace qv {

SecondaryWindow::SecondaryWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form2");
    setWindowTitle("Form2");
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Slot", this), 0, 0);
    grid->addWidget(new QLabel("CALL ID", this), 0, 1);
    grid->addWidget(new QLabel("Position", this), 0, 2);
    for (int n = 1; n <= 8; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - 1);
        auto* letter = new QLabel(QString(QChar('A' + n - 1)) + "-", this);
        letter->setMargin(3);
        look::paint(letter, SlotGrid::slotColour(n), look::kWhite);
        call_[i] = new QLineEdit(this);
        call_[i]->setObjectName(QString("Form2Call%1").arg(n));
        call_[i]->setReadOnly(true);
        position_[i] = new QLineEdit(this);
        position_[i]->setObjectName(QString("Form2Position%1").arg(n));
        position_[i]->setReadOnly(true);
        position_[i]->setMinimumWidth(200);
        grid->addWidget(letter, n, 0);
        grid->addWidget(call_[i], n, 1);
        grid->addWidget(position_[i], n, 2);
    }
}

void SecondaryWindow::draw(const SlotState& slots) {
    look::setText(call_[0], slots[1].CallsignID);
    look::setText(position_[0], slots[1].location);
}

} // namespace qv
