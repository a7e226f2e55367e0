#pragma once

#include "common/message_box.h"

#include <ostream>

namespace quisk {

// Message boxes for a program without a display: each message is printed as
// "TITLE: TEXT", a carriage return in it starting a new line; the completion
// message goes to completion, every other one to messages. A question cannot
// be asked: it is declined, with a hint when it asks to overwrite.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    ConsoleMessageBoxes(std::ostream& completion, std::ostream& messages)
        : completion_(completion), messages_(messages) {}
    Answer show(const Message& m) override;

private:
    std::ostream& completion_;
    std::ostream& messages_;
};

} // namespace quisk
