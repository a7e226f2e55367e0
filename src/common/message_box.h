#pragma once

#include <deque>
#include <string>
#include <vector>

// Message boxes as the core and the windows use them. The core never shows a
// window itself: it hands a Message to a MessageBoxes implementation, which is
// a real dialog in the desktop program, a line on standard error in the
// headless runner, and a script in tests.
namespace quisk {

enum class Icon { None, Stop, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    std::string text; // pieces joined with a carriage return for line breaks
    std::string title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;

    bool operator==(const Message&) const = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(const Message& message) = 0;
};

// A message box for tests: records every message and answers from a script.
// With the script used up it answers the default button.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    Answer show(const Message& message) override;
    void answer(Answer next) { script_.push_back(next); }

    std::vector<Message> shown;

    // The titles and texts shown so far, handy in assertions.
    std::vector<std::string> texts() const;

private:
    std::deque<Answer> script_;
};

} // namespace quisk
