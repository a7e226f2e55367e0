#pragma once

#include "common/file_io.h"
#include "editor/ui/frm_format.h"
#include "format/format_file.h"
#include "format/ui/frm_open.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quisk::test {

// The main window's format box as the editor sees it.
struct PathBox : FormatPathBox {
    std::string value;
    std::string text() const override { return value; }
    void setText(const std::string& path) override { value = path; }
};

enum class Choice { Current, Existing, New, Cancel };

// Answers the chooser that the editor is about to show modally.
inline void answerChooser(Choice choice) {
    QTimer::singleShot(0, [choice] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* chooser = qobject_cast<FrmOpen*>(w);
            if (!chooser || !chooser->isVisible())
                continue;
            if (choice == Choice::Cancel) {
                chooser->CmdCancel_Click();
                return;
            }
            QRadioButton* option = choice == Choice::Current    ? chooser->OptCurrent
                                   : choice == Choice::Existing ? chooser->OptExisting
                                                                : chooser->OptNew;
            option->setChecked(true);
            chooser->CmdOK_Click();
            return;
        }
    });
}

// A format editor over a scripted desktop, with a scratch directory.
struct EditorTest : ::testing::Test {
    ScriptedPlatform desk;
    AppState state;
    PathBox box;
    std::filesystem::path dir;

    EditorTest() {
        dir = std::filesystem::temp_directory_path() /
              ("quisk-editor-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~EditorTest() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    std::unique_ptr<FrmFormat> open(Choice choice) {
        answerChooser(choice);
        return std::make_unique<FrmFormat>(state, desk.platform(), box);
    }

    // A format file with two data rows and a fixed row.
    std::string writeSample(const std::string& name, const char* outputKind = "区切ﾌｧｲﾙ") {
        FormatDefinition f;
        f.row(1) = FieldRow{"CODE", "1", "5", "Char", "", ""};
        f.row(2) = FieldRow{"AMOUNT", "6", "8", "Num", "", "net, yen"};
        f.row(3) = FieldRow{"KIND", "", "", "", "X", ""};
        f.settings.outputKind = outputKind;
        f.settings.separatorChar = "ﾀﾌﾞ";
        f.settings.fieldNamesOnTop = true;
        ScriptedMessageBoxes quiet;
        EXPECT_TRUE(saveFormatFile(path(name), f, quiet));
        return path(name);
    }

    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const Message& m : desk.messages.shown)
            out.push_back(m.title);
        return out;
    }
};

// Runs act on the dialog that the next command shows modally. A dialog that
// is missing or left open fails the test instead of hanging it.
template <typename Dialog> void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog did not open";
            if (modal)
                modal->close();
            return;
        }
        act(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            dialog->QDialog::reject();
        }
    });
}

inline void typeKey(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

inline void typeText(QWidget* w, const QString& text) {
    for (QChar c : text)
        typeKey(w, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A, QString(c));
}

} // namespace quisk::test
