#include "common/platform/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <utility>
#include <vector>

namespace quisk {
namespace {

struct ButtonChoice {
    Answer answer;
    QMessageBox::ButtonRole role;
    const char* caption;
};

std::vector<ButtonChoice> buttonsFor(Buttons buttons) {
    const ButtonChoice ok{Answer::Ok, QMessageBox::AcceptRole, "OK"};
    const ButtonChoice cancel{Answer::Cancel, QMessageBox::RejectRole, "ｷｬﾝｾﾙ"};
    const ButtonChoice yes{Answer::Yes, QMessageBox::YesRole, "はい(&Y)"};
    const ButtonChoice no{Answer::No, QMessageBox::NoRole, "いいえ(&N)"};
    switch (buttons) {
    case Buttons::Ok:
        return {ok};
    case Buttons::OkCancel:
        return {ok, cancel};
    case Buttons::YesNo:
        return {yes, no};
    case Buttons::YesNoCancel:
        return {yes, no, cancel};
    }
    return {ok};
}

// Esc (or the close box) gives Cancel where there is one, then No, then OK.
Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Stop:
        return QMessageBox::Critical;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString withLineBreaks(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

constexpr const char* kAnswerProperty = "quiskAnswer";

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromStdString(message.title));
    box->setTextFormat(Qt::PlainText);
    box->setText(withLineBreaks(message.text));
    box->setIcon(qtIcon(message.icon));
    Answer onEscape = escapeAnswer(message.buttons);
    for (const ButtonChoice& choice : buttonsFor(message.buttons)) {
        QPushButton* button = box->addButton(QString::fromUtf8(choice.caption), choice.role);
        button->setProperty(kAnswerProperty, static_cast<int>(choice.answer));
        if (choice.answer == message.defaultAnswer)
            box->setDefaultButton(button);
        if (choice.answer == onEscape)
            box->setEscapeButton(button);
    }
    box->setProperty(kAnswerProperty, static_cast<int>(onEscape));
    return box;
}

Answer answerOf(const QMessageBox& box, const QAbstractButton* clicked) {
    const QObject* source = clicked ? static_cast<const QObject*>(clicked) : &box;
    QVariant value = source->property(kAnswerProperty);
    if (!value.isValid())
        value = box.property(kAnswerProperty);
    return static_cast<Answer>(value.toInt());
}

Answer QtMessageBoxes::show(const Message& message) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    auto box = buildMessageBox(message, parent);
    box->exec();
    return answerOf(*box, box->clickedButton());
}

} // namespace quisk
