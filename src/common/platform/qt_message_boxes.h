#pragma once

#include "common/message_box.h"

#include <QMessageBox>
#include <memory>

namespace quisk {

// The message box as the desktop shows it: plain text with carriage returns
// as line breaks, the icon, the buttons with Japanese captions, the default
// button focused and Esc meaning the most cautious answer.
std::unique_ptr<QMessageBox> buildMessageBox(const Message& message, QWidget* parent);

// The answer a button of a box built by buildMessageBox stands for; a box
// closed without a button click counts as its Esc answer.
Answer answerOf(const QMessageBox& box, const QAbstractButton* clicked);

// Shows message boxes modally over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(const Message& message) override;
};

} // namespace quisk
