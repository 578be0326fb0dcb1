// The four speeds the TNC link offers, in the order of the option indexes.
#include "shell/window/SpeedForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {
const char* const kCaptions[4] = {"1200, 8, N, 1", "2400, 8, N, 1", "4800, 8, N, 1", "9600, 8, N, 1"};
} // namespace

SpeedForm::SpeedForm(QWidget* parent) : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle("Form3");
    auto* col = new QVBoxLayout(this);
    auto* label = new QLabel("Select the BAUD rate  to use between Quorvel and your TNC Device", this);
    label->setObjectName("Label1");
    col->addWidget(label);
    for (std::size_t i = 0; i < option_.size(); ++i) {
        option_[i] = new QRadioButton(QString::fromLatin1(kCaptions[i]), this);
        option_[i]->setObjectName(QString("Option1_%1").arg(i));
        col->addWidget(option_[i]);
    }
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command_OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("CANCEL", this);
    cancel->setObjectName("Command_CANCEL");
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    col->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SpeedForm::preselect(int index) {
    for (auto* o : option_) {
        // An exclusive group keeps one option checked; none is a valid start here.
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    if (index >= 0 && index < static_cast<int>(option_.size()))
        option_[static_cast<std::size_t>(index)]->setChecked(true);
}

int SpeedForm::selected() const {
    for (std::size_t i = 0; i < option_.size(); ++i)
        if (option_[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

int QtSpeedDialog::showModal(int preselected) {
    SpeedForm form(parent_);
    form.preselect(preselected);
    if (form.exec() != QDialog::Accepted) return kCancelled;
    return form.selected();
}

} // namespace qv
