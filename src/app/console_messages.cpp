#include "console_messages.h"

#include "app/app_texts.h"

#include <string>

namespace quisk {

Answer ConsoleMessageBoxes::show(const Message& m) {
    std::string text = m.text;
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    bool completion = m.icon == Icon::Information;
    (completion ? completion_ : messages_) << m.title << ": " << text << '\n';
    switch (m.buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        messages_ << app_texts::kRunnerOverwriteHint << '\n';
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

} // namespace quisk
