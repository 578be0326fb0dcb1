// Shown without activation, so the operator keeps typing where he was.
#include "shell/window/MessageForm.h"

#include "core/MessageState.h"
#include "shell/window/Look.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qv {

MessageForm::MessageForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Form5Message");
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* grid = new QGridLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName("LabelMsgReply");
    QFont f = heading_->font();
    f.setBold(true);
    heading_->setFont(f);
    from_ = new QLineEdit(this);
    from_->setObjectName("TextMsgFrom");
    from_->setMaxLength(static_cast<int>(kMsgFromMax));
    text_ = new QLineEdit(this);
    text_->setObjectName("TextMsgSend");
    text_->setMaxLength(static_cast<int>(kMsgSendMax));
    text_->setToolTip(kMsgSendTip);
    text_->setMinimumWidth(320);
    send_ = new QPushButton(this);
    send_->setObjectName("CommandMsgSEND");
    echo_ = new QLabel(this);
    echo_->setObjectName("LabelReplySentString");
    echo_->setWordWrap(true);
    // Both labels carry received text: shown as written, never as markup.
    echo_->setTextFormat(Qt::PlainText);
    heading_->setTextFormat(Qt::PlainText);
    grid->addWidget(heading_, 0, 0);
    grid->addWidget(text_, 0, 1, 1, 2);
    grid->addWidget(send_, 1, 0);
    grid->addWidget(from_, 1, 1);
    grid->addWidget(echo_, 2, 0, 1, 3);

    auto edited = [this] {
        if (!drawing_ && onEdited) onEdited(look::ss(from_->text()), look::ss(text_->text()));
    };
    connect(from_, &QLineEdit::textEdited, this, edited);
    connect(text_, &QLineEdit::textEdited, this, edited);
    connect(send_, &QPushButton::clicked, this, [this] {
        if (onSend) onSend();
    });
}

void MessageForm::show(const MessageWindowState& form) {
    draw(form);
    QWidget::show();
}

void MessageForm::draw(const MessageWindowState& form) {
    drawing_ = true;
    setWindowTitle(look::qs(form.caption));
    look::setText(from_, form.TextMsgFrom);
    look::setText(text_, form.TextMsgSend);
    send_->setText(look::qs(form.CommandMsgSEND));
    echo_->setText(look::qs(form.LabelReplySentString));
    heading_->setText(look::qs(form.LabelMsgReply));
    drawing_ = false;
}

} // namespace qv
