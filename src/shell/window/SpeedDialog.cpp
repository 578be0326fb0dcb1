// The four speeds the TNC link offers.
#include "shell/window/SpeedDialog.h"

#include "core/Text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {
const char* const kCaptions[4] = {"1200, 8, N, 1", "2400, 8, N, 1", "4800, 8, N, 1", "9600, 8, N, 1"};
const char* const kSettings[4] = {"1200,N,8,1", "2400,N,8,1", "4800,N,8,1", "9600,N,8,1"};
} // namespace

SpeedDialog::SpeedDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Form3");
    auto* col = new QVBoxLayout(this);
    auto* label = new QLabel("Select the BAUD rate  to use between Quorvel and your TNC Device", this);
    label->setObjectName("Label1");
    col->addWidget(label);
    for (int i = 0; i < 4; ++i) {
        option_[static_cast<std::size_t>(i)] = new QRadioButton(QString::fromLatin1(kCaptions[i]), this);
        option_[static_cast<std::size_t>(i)]->setObjectName(QString("Option1_%1").arg(i));
        col->addWidget(option_[static_cast<std::size_t>(i)]);
    }
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command_OK");
    auto* cancel = new QPushButton("CANCEL", this);
    cancel->setObjectName("Command_CANCEL");
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    col->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SpeedDialog::preselect(const std::string& settings) {
    for (auto* o : option_) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    for (std::size_t i = 0; i < 4; ++i)
        if (text::iequals(settings, kSettings[i])) option_[i]->setChecked(true);
}

std::string SpeedDialog::chosen() const {
    for (std::size_t i = 0; i < 4; ++i)
        if (option_[i]->isChecked()) return kSettings[i];
    return {};
}

std::string SpeedDialog::choose(QWidget* parent, const std::string& current) {
    SpeedDialog d(parent);
    d.preselect(current);
    if (d.exec() != QDialog::Accepted) return {};
    return d.chosen();
}

} // namespace qv
