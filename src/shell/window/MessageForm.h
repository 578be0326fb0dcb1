// Form5Message: the modeless APRS message reply window.
#pragma once

#include "platform/MessageWindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class MessageForm final : public QWidget, public MessageWindow {
    Q_OBJECT
public:
    explicit MessageForm(QWidget* parent = nullptr);

    void show(const MessageWindowState& form) override;
    void draw(const MessageWindowState& form) override;

private:
    QLineEdit* from_ = nullptr;
    QLineEdit* text_ = nullptr;
    QPushButton* send_ = nullptr;
    QLabel* echo_ = nullptr;
    QLabel* heading_ = nullptr;
    bool drawing_ = false;
};

} // namespace qv
