#include "message_box.h"

namespace quisk {

Answer ScriptedMessageBoxes::show(const Message& message) {
    shown.push_back(message);
    if (script_.empty())
        return message.defaultAnswer;
    Answer next = script_.front();
    script_.pop_front();
    return next;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const {
    std::vector<std::string> out;
    for (const Message& m : shown)
        out.push_back(m.text);
    return out;
}

} // namespace quisk
