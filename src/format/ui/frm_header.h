#pragma once

#include "common/platform.h"

#include <QDialog>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quisk {

// The header and footer texts of a format, lines joined by carriage return +
// line feed.
struct HeaderFooter {
    std::string header;
    std::string footer;

    bool operator==(const HeaderFooter&) const = default;
};

// The header and footer dialog: two large boxes holding working copies of
// the editor's texts, a clear menu, OK and Cancel. Nothing reaches the
// editor before OK.
class FrmHeader : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOpenWidth = 3400;
    static constexpr int kMinWidth = 3000;
    static constexpr int kMinHeight = 4650;

    FrmHeader(const HeaderFooter& texts, Platform& platform, QWidget* parent = nullptr);

    // Shows the dialog modally: the edited texts on OK, nothing otherwise.
    static std::optional<HeaderFooter> edit(const HeaderFooter& texts, Platform& platform,
                                            QWidget* parent);

    // The edited texts once OK closed the dialog, nothing before or after
    // Cancel.
    const std::optional<HeaderFooter>& result() const { return result_; }

    // The dialog's outer size in twips (frame included where the desktop
    // draws one) and a way to set it, as the user's resizing would.
    int widthTwips() const;
    int heightTwips() const;
    void resizeTwips(int width, int height);

    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPlainTextEdit* headerInputText() const { return headerInputText_; }
    QPlainTextEdit* footerInputText() const { return footerInputText_; }
    QLabel* lblHeader() const { return lblHeader_; }
    QLabel* lblFooter() const { return lblFooter_; }
    QAction* mnuAllClear() const { return mnuAllClear_; }
    QAction* mnuHeaderClear() const { return mnuHeaderClear_; }
    QAction* mnuFooterClear() const { return mnuFooterClear_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void Form_Load(const HeaderFooter& texts);
    void Form_Resize();
    void CmdOK_Click();
    void CmdCancel_Click();
    void mnuAllClear_Click();
    void mnuHeaderClear_Click();
    void mnuFooterClear_Click();

    QRect twips(int left, int top, int width, int height) const;
    int toPixels(int twips) const;
    int toTwips(int pixels) const;
    static std::string boxText(const QPlainTextEdit* box, bool edited, const std::string& original);

    Platform& platform_;
    HeaderFooter original_;
    std::optional<HeaderFooter> result_;
    bool headerEdited_ = false;
    bool footerEdited_ = false;
    bool resizing_ = false;

    QWidget* client_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QLabel* lblHeader_ = nullptr;
    QPlainTextEdit* headerInputText_ = nullptr;
    QLabel* lblFooter_ = nullptr;
    QPlainTextEdit* footerInputText_ = nullptr;
    QAction* mnuAllClear_ = nullptr;
    QAction* mnuHeaderClear_ = nullptr;
    QAction* mnuFooterClear_ = nullptr;
};

} // namespace quisk
