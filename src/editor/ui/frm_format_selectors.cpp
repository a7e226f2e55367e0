// The settings controls of the format editor: the eight selectors, the
// field-name check box, the record boxes and the hidden row-range boxes, each writing its value
// into the current definition's settings as it changes.
#include "format/selector_rules.h"
#include "frm_format.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quisk {

namespace {

constexpr const char* kDoubleQuote = "\"";

void bindRange(QLineEdit* box, std::string& setting, AppState& state) {
    QObject::connect(box, &QLineEdit::textChanged, box, [box, &setting, &state] {
        setting = box->text().toStdString();
        state.formatDirty = true;
    });
}

} // namespace

void FrmFormat::connectSettings() {
    FormatSettings& s = format_.settings;
    auto onChange = [this](SelectorCombo* box, auto handler) {
        connect(box, &QComboBox::editTextChanged, this, [this, handler] { (this->*handler)(); });
    };
    auto onDropDown = [this](SelectorCombo* box, auto handler) {
        connect(box, &SelectorCombo::dropDown, this, [this, handler] { (this->*handler)(); });
    };
    onDropDown(CmbTextChar, &FrmFormat::CmbTextChar_DropDown);
    onDropDown(CmbTextNum, &FrmFormat::CmbTextNum_DropDown);
    onDropDown(CmbSepaChar, &FrmFormat::CmbSepaChar_DropDown);
    onDropDown(CmbSepaNum, &FrmFormat::CmbSepaNum_DropDown);
    onDropDown(CmbFromFile, &FrmFormat::CmbFromFile_DropDown);
    onDropDown(CmbToFile, &FrmFormat::CmbToFile_DropDown);
    onDropDown(CmbToCode, &FrmFormat::CmbToCode_DropDown);
    onDropDown(CmbToLineEnd, &FrmFormat::CmbToLineEnd_DropDown);
    onChange(CmbTextChar, &FrmFormat::CmbTextChar_Change);
    onChange(CmbTextNum, &FrmFormat::CmbTextNum_Change);
    onChange(CmbFromFile, &FrmFormat::CmbFromFile_Change);
    onChange(CmbToFile, &FrmFormat::CmbToFile_Change);
    onChange(CmbToCode, &FrmFormat::CmbToCode_Change);
    onChange(CmbToLineEnd, &FrmFormat::CmbToLineEnd_Change);
    connect(CmbToFile, &QComboBox::textActivated, this, [this] { CmbToFile_Click(); });
    // The separators accept any text and do not mark the format changed.
    connect(CmbSepaChar, &QComboBox::editTextChanged, this,
            [this, &s] { s.separatorChar = CmbSepaChar->text(); });
    connect(CmbSepaNum, &QComboBox::editTextChanged, this,
            [this, &s] { s.separatorNum = CmbSepaNum->text(); });
    connect(ChkFieldName, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.fieldNamesOnTop = on;
        markDirty();
    });
    bindRange(JumpTxtFrom, s.excludeFrom, state_);
    bindRange(JumpTxtTo, s.excludeTo, state_);
    bindRange(IgnoreTxtFrom, s.writeAsIsFrom, state_);
    bindRange(IgnoreTxtTo, s.writeAsIsTo, state_);
    connect(RecordLenTxt, &QLineEdit::textChanged, this, [this] { RecordLenTxt_Change(); });
    connect(SelectTxtStart, &QLineEdit::textChanged, this, [this] { SelectTxtStart_Change(); });
    connect(SelectTxtLength, &QLineEdit::textChanged, this, [this] { SelectTxtLength_Change(); });
    bindRange(SelectTxtText, s.recordSelectText, state_);
    recordSettingEdits();
}

// Every settings control reports its edits to the undo history, after its
// own handler has written the setting.
void FrmFormat::recordSettingEdits() {
    for (SelectorCombo* box : {CmbTextChar, CmbSepaChar, CmbTextNum, CmbSepaNum, CmbFromFile,
                               CmbToFile, CmbToCode, CmbToLineEnd}) {
        connect(box, &QComboBox::editTextChanged, this,
                [this, box] { history_->settingsEdited(box); });
        box->installEventFilter(this); // Escape returns to the grid
    }
    connect(ChkFieldName, &QCheckBox::toggled, this, [this] { history_->settingsEdited(nullptr); });
    for (QLineEdit* box : {JumpTxtFrom, JumpTxtTo, IgnoreTxtFrom, IgnoreTxtTo})
        connect(box, &QLineEdit::textChanged, this, [this] { history_->settingsEdited(nullptr); });
    // Typing into one of the record boxes is one step, as in a selector.
    for (QLineEdit* box : {RecordLenTxt, SelectTxtStart, SelectTxtLength, SelectTxtText}) {
        connect(box, &QLineEdit::textChanged, this, [this, box] { history_->settingsEdited(box); });
        box->installEventFilter(this); // Escape returns to the grid
    }
}

void FrmFormat::rebuildList(SelectorCombo* box, std::initializer_list<const char*> items) {
    // The text stays as it was: rebuilding the list is no change of it.
    QSignalBlocker quiet(box);
    const QString text = box->currentText();
    box->clear();
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    box->setEditText(text);
}

void FrmFormat::CmbTextChar_DropDown() {
    rebuildList(CmbTextChar, {kDoubleQuote, "'", "#"});
}
void FrmFormat::CmbTextNum_DropDown() {
    rebuildList(CmbTextNum, {kDoubleQuote, "'", "#"});
}

void FrmFormat::CmbSepaChar_DropDown() {
    rebuildList(CmbSepaChar,
                {kSeparatorComma, kSeparatorTab, kSeparatorSemicolon, kSeparatorSpace});
}

void FrmFormat::CmbSepaNum_DropDown() {
    rebuildList(CmbSepaNum, {kSeparatorComma, kSeparatorTab, kSeparatorSemicolon, kSeparatorSpace});
}

void FrmFormat::CmbFromFile_DropDown() {
    rebuildList(CmbFromFile, {kTextFile});
}
void FrmFormat::CmbToFile_DropDown() {
    rebuildList(CmbToFile, {kTextFile, kDelimitedFile});
}

void FrmFormat::CmbToCode_DropDown() {
    rebuildList(CmbToCode, {kEncodingShiftJis, kEncodingUtf8, kEncodingUtf8Bom});
}
void FrmFormat::CmbToLineEnd_DropDown() {
    rebuildList(CmbToLineEnd, {kLineEndCrLf, kLineEndLf});
}

void FrmFormat::enforceQuote(SelectorCombo* box, std::string& setting) {
    std::string text = box->text();
    if (auto refused = enforceQuoteLength(text)) {
        platform_.messages.show(*refused);
        box->setText(text);
    }
    setting = text;
}

void FrmFormat::CmbTextChar_Change() {
    enforceQuote(CmbTextChar, format_.settings.textQuoteChar);
}
void FrmFormat::CmbTextNum_Change() {
    enforceQuote(CmbTextNum, format_.settings.textQuoteNum);
}

void FrmFormat::enforceKind(SelectorCombo* box, std::string& setting, const char* defaultKind) {
    std::string text = box->text();
    if (auto refused = enforceFileKind(text, defaultKind)) {
        platform_.messages.show(*refused);
        box->setText(text);
    }
    setting = text;
    markDirty();
}

void FrmFormat::CmbFromFile_Change() {
    enforceKind(CmbFromFile, format_.settings.inputKind, kTextFile);
}

void FrmFormat::CmbToFile_Change() {
    const bool refused = CmbToFile->text() != kTextFile && CmbToFile->text() != kDelimitedFile;
    enforceKind(CmbToFile, format_.settings.outputKind, kDelimitedFile);
    // After a refusal the four boxes follow the text the box was reset to.
    if (refused)
        applyOutputKind();
}

// Like the file kinds, the encoding and the line end can only be picked from
// their lists: other text is reset to the default with a message, and every
// change marks the format changed.
void FrmFormat::enforceFixedChoice(SelectorCombo* box, std::string& setting,
                                   std::optional<Message> (*rule)(std::string&)) {
    std::string text = box->text();
    if (auto refused = rule(text)) {
        platform_.messages.show(*refused);
        box->setText(text);
    }
    setting = text;
    markDirty();
}

void FrmFormat::CmbToCode_Change() {
    enforceFixedChoice(CmbToCode, format_.settings.outputEncoding, enforceOutputEncoding);
}
void FrmFormat::CmbToLineEnd_Change() {
    enforceFixedChoice(CmbToLineEnd, format_.settings.outputLineEnd, enforceOutputLineEnd);
}

// Refused characters are reported and dropped in place, as in the quote
// boxes; every change marks the format changed.
void FrmFormat::enforceNumber(QLineEdit* box, std::string& setting) {
    std::string text = box->text().toStdString();
    if (auto refused = enforceRecordNumber(text)) {
        platform_.messages.show(*refused);
        const QSignalBlocker quiet(box);
        box->setText(QString::fromStdString(text));
    }
    setting = text;
    markDirty();
}

void FrmFormat::RecordLenTxt_Change() {
    enforceNumber(RecordLenTxt, format_.settings.recordLength);
}
void FrmFormat::SelectTxtStart_Change() {
    enforceNumber(SelectTxtStart, format_.settings.recordSelectStart);
}
void FrmFormat::SelectTxtLength_Change() {
    enforceNumber(SelectTxtLength, format_.settings.recordSelectLength);
}

void FrmFormat::CmbToFile_Click() {
    applyOutputKind();
    markDirty();
}

void FrmFormat::applyOutputKind() {
    const bool delimited = CmbToFile->text() != kTextFile;
    for (SelectorCombo* box : {CmbTextChar, CmbSepaChar, CmbTextNum, CmbSepaNum})
        box->setEnabled(delimited);
}

// Showing settings is the program's doing, not an edit to undo.
void FrmFormat::showSettings() {
    history_->withoutRecording([this] {
        // Copied first: setting each control writes back into the settings.
        const FormatSettings s = format_.settings;
        CmbTextChar->setText(s.textQuoteChar);
        CmbTextNum->setText(s.textQuoteNum);
        CmbSepaChar->setText(s.separatorChar);
        CmbSepaNum->setText(s.separatorNum);
        CmbFromFile->setText(s.inputKind);
        CmbToFile->setText(s.outputKind);
        CmbToCode->setText(s.outputEncoding);
        CmbToLineEnd->setText(s.outputLineEnd);
        JumpTxtFrom->setText(QString::fromStdString(s.excludeFrom));
        JumpTxtTo->setText(QString::fromStdString(s.excludeTo));
        IgnoreTxtFrom->setText(QString::fromStdString(s.writeAsIsFrom));
        IgnoreTxtTo->setText(QString::fromStdString(s.writeAsIsTo));
        ChkFieldName->setChecked(s.fieldNamesOnTop);
        RecordLenTxt->setText(QString::fromStdString(s.recordLength));
        SelectTxtStart->setText(QString::fromStdString(s.recordSelectStart));
        SelectTxtLength->setText(QString::fromStdString(s.recordSelectLength));
        SelectTxtText->setText(QString::fromStdString(s.recordSelectText));
    });
}

void FrmFormat::keepSelectorCopies() {
    state_.textQuoteChar = CmbTextChar->text();
    state_.textQuoteNum = CmbTextNum->text();
    state_.separatorChar = CmbSepaChar->text();
    state_.separatorNum = CmbSepaNum->text();
}

bool FrmFormat::selectorsChanged() const {
    return state_.textQuoteChar != CmbTextChar->text() ||
           state_.textQuoteNum != CmbTextNum->text() ||
           state_.separatorChar != CmbSepaChar->text() || state_.separatorNum != CmbSepaNum->text();
}

} // namespace quisk
