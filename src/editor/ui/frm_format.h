#pragma once

#include "common/app_state.h"
#include "common/platform.h"
#include "editor/ui/field_table_model.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/format_history.h"
#include "editor/ui/selector_combo.h"
#include "format/format_definition.h"

#include <QDialog>
#include <vector>

class QAction;
class QCheckBox;
class QDockWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;

namespace quisk {

class PreviewPane;

// The format editor: the settings across the top, the edit line, and the
// field grid. It holds the current FormatDefinition; the grid model and the
// settings controls read and write it. Created by the main window (which has
// copied the job's paths into AppState) and shown modally; on creation it
// asks which format to open and loads it. With openFormatDirectly set it
// loads jobFormatPath without asking and closes without questions.
class FrmFormat : public QDialog, private FormatUndoTarget {
    Q_OBJECT

public:
    FrmFormat(AppState& state, const Platform& platform, FormatPathBox& pathBox,
              QWidget* parent = nullptr);
    ~FrmFormat() override;

    // The current definition: the grid's rows and the settings shown.
    FormatDefinition& format() { return format_; }
    // Whether the window closed (or closes as soon as it is shown, after a
    // cancelled choice or a failed load at the start).
    bool closed() const { return closed_; }
    bool closesWhenShown() const { return closeWhenShown_; }

    // Controls, named as the window's own code names them.
    QMenuBar* menuBar = nullptr;
    QGroupBox* FrameSepa = nullptr;
    QLabel* LblSepaTxt = nullptr;
    QLabel* LblSepa = nullptr;
    QLabel* LblSepaChar = nullptr;
    QLabel* LblSepaNum = nullptr;
    SelectorCombo* CmbTextChar = nullptr;
    SelectorCombo* CmbSepaChar = nullptr;
    SelectorCombo* CmbTextNum = nullptr;
    SelectorCombo* CmbSepaNum = nullptr;
    QCheckBox* ChkFieldName = nullptr;
    SelectorCombo* CmbFromFile = nullptr;
    QLabel* LblFromFile = nullptr;
    SelectorCombo* CmbToFile = nullptr;
    QLabel* LblToFile = nullptr;
    QLabel* LblToCode = nullptr;
    SelectorCombo* CmbToCode = nullptr;
    SelectorCombo* CmbToLineEnd = nullptr;
    QPushButton* CmdHeader = nullptr;
    QPushButton* CmdClose = nullptr;
    QLineEdit* CellText = nullptr;
    FlexGrid* Grid1 = nullptr;
    QLineEdit* JumpTxtFrom = nullptr;
    QLineEdit* JumpTxtTo = nullptr;
    QLineEdit* IgnoreTxtFrom = nullptr;
    QLineEdit* IgnoreTxtTo = nullptr;
    QLabel* LblRecordLength = nullptr;
    QLineEdit* RecordLenTxt = nullptr;
    QLabel* LblSelect = nullptr;
    QLabel* LblSelectStart = nullptr;
    QLineEdit* SelectTxtStart = nullptr;
    QLabel* LblSelectLength = nullptr;
    QLineEdit* SelectTxtLength = nullptr;
    QLabel* LblSelectText = nullptr;
    QLineEdit* SelectTxtText = nullptr;
    QMenu* mnuPopup = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuPreview = nullptr;
    QAction* mnuSuggest = nullptr;
    // The preview, made when it is first shown.
    QDockWidget* previewDock = nullptr;
    PreviewPane* previewPane = nullptr;

    // Rebuilds the grid's layout after its rows changed or were hidden:
    // every row and column shown again, rows renumbered, fill style single,
    // row 1 column 1 current. cellFlag has no effect.
    void disp_refresh(int cellFlag);
    // Validates the table before a save; false abandons the save.
    bool Grid_Check();
    // Saves to formatPath (saveFlag 0) or under a new name (1); 1 when
    // nothing was saved, 0 when the format was written.
    int File_Save(int saveFlag);

    // The edit-line protocol.
    void Grid1_KeyPress(const QString& typed);
    void Grid1_MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void Grid1_DblClick();
    void Grid1_EnterCell();
    void CellText_Change();

    // The selectors.
    void CmbTextChar_DropDown();
    void CmbTextNum_DropDown();
    void CmbSepaChar_DropDown();
    void CmbSepaNum_DropDown();
    void CmbFromFile_DropDown();
    void CmbToFile_DropDown();
    void CmbToCode_DropDown();
    void CmbToLineEnd_DropDown();
    void CmbTextChar_Change();
    void CmbTextNum_Change();
    void CmbFromFile_Change();
    void CmbToFile_Change();
    void CmbToFile_Click();
    void CmbToCode_Change();
    void CmbToLineEnd_Change();
    // The record length and the selection's start and length: digits only.
    void RecordLenTxt_Change();
    void SelectTxtStart_Change();
    void SelectTxtLength_Change();

    // File commands and closing.
    void mnuOpen_Click();
    void mnuOverWrite_Click();
    void mnuSaveAs_Click();
    void CmdClose_Click();

    // Undo and redo.
    void mnuUndo_Click();
    void mnuRedo_Click();
    FormatHistory& history() { return *history_; }

    // Block editing commands.
    void mnuCOPY_Click();
    void mnuKILL_Click();
    void mnuPASTE_Click();
    void mnuADDROW_Click();
    void mnuPopupAdd10Rows_Click();
    void mnuKILLROW_Click();
    void mnuCLRCELL_Click();
    void mnuCLRSEL_Click();
    void mnuROWUNDISP_Click();
    void mnuCOLUNDISP_Click();
    void mnuUNDISP_Click();

    // The preview pane and the layout edits made on its byte ruler; each
    // edit is one undo step and marks the format changed, as typing does.
    void mnuPreview_Click();
    void mnuSuggest_Click();
    void splitFieldAt(std::size_t boundary);
    void moveFieldBoundary(std::size_t from, std::size_t to);
    void acceptBoundaries(const std::vector<std::size_t>& boundaries);
    void selectFieldRow(int row);

    // Field-type changes and the header, footer and row-range dialogs.
    void mnuAllChar_Click();
    void mnuAllNum_Click();
    void mnuStrChar_Click();
    void mnuStrNum_Click();
    void mnuChangeChar_Click();
    void mnuChangeNum_Click();
    void mnuHeaderFooter_Click();
    void mnuRowOption_Click();
    void CmdHeader_Click();

public slots:
    // Every way of closing (close box, Escape, CmdClose) comes here.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Window and grid (frm_format.cpp).
    int px(int twips) const;
    void place(QWidget* w, int left, int top, int width, int height);
    void layoutBody();
    void Form_Load();
    void buildControls();
    void buildRecordBoxes();
    void buildGrid();
    void writeTitlesAndAlignments();
    void loadEditLine(const std::string& text);
    void focusEditLine();
    void showCurrentCell();
    void startComposition();
    bool wouldChangeCells(const std::string& text) const;
    void markDirty() { state_.formatDirty = true; }

    // Menus and the commands of the type-change and option items
    // (frm_format_menus.cpp).
    void buildMenus();
    void connectHistory();
    void tableRestored(int first, int last, int col, bool reshaped) override;
    void settingsRestored() override;
    void changeNamedRowTypes(const char* type);
    void replaceTypeText(const char* type);
    void changeSelectedTypes(const char* type);
    void typesChanged();
    void moveToFirstCell();

    // The preview pane (frm_format_preview.cpp).
    void buildPreview();
    void refreshPreviewOnChanges();
    void showPreview(bool on);
    void keepOnScreen();
    template <typename Edit> void editLayout(Edit edit);

    // Selectors and settings (frm_format_selectors.cpp).
    void connectSettings();
    void recordSettingEdits();
    void rebuildList(SelectorCombo* box, std::initializer_list<const char*> items);
    void enforceQuote(SelectorCombo* box, std::string& setting);
    void enforceKind(SelectorCombo* box, std::string& setting, const char* defaultKind);
    void enforceFixedChoice(SelectorCombo* box, std::string& setting,
                            std::optional<Message> (*rule)(std::string&));
    void enforceNumber(QLineEdit* box, std::string& setting);
    void applyOutputKind();
    void showSettings();
    void keepSelectorCopies();
    bool selectorsChanged() const;

    // File commands (frm_format_files.cpp).
    enum class OpenResult { Loaded, Untitled, Cancelled, Failed };
    void startFilePart();
    OpenResult File_Open();
    bool File_Load();
    void applyNewDefinition();
    void setCaption();
    Answer askUnsaved();
    int saveBeforeLeaving();
    bool overwriteAllowed(bool withCancel, int& result);
    bool Form_QueryUnload();
    void handOverPath();
    void closeWithoutQuestions();

    AppState& state_;
    Platform platform_;
    FormatPathBox& pathBox_;
    FormatDefinition format_;
    FieldTableModel* model_ = nullptr;
    FormatHistory* history_ = nullptr;
    QMainWindow* frame_ = nullptr;
    QWidget* body_ = nullptr;
    int previewWidth_ = 0;
    bool closed_ = false;
    bool closeWhenShown_ = false;
    bool loadFailed_ = false;
};

} // namespace quisk
