#pragma once

#include "common/platform.h"

namespace quisk {

// The system clipboard's plain text.
class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void setText(const std::string& text) override;
};

// The primary screen in twips, converted at its logical DPI.
class QtScreen : public Screen {
public:
    int widthTwips() const override;
    int heightTwips() const override;
    double dpi() const override;
};

} // namespace quisk
