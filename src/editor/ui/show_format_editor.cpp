#include "show_format_editor.h"

#include "editor/ui/frm_format.h"

namespace quisk {

void showFormatEditor(QWidget* parent, AppState& state, Platform platform, FormatPathBox& box) {
    FrmFormat editor(state, platform, box, parent);
    // After a cancelled choice or a failed load there is nothing to show.
    if (!editor.closesWhenShown())
        editor.exec();
}

} // namespace quisk
