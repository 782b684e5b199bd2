#pragma once

#include "data/Font.h"

class QWidget;

namespace vorlin::ui {

// The font dialog: face, size, styles and one of the sixteen basic colours
// (or the window-text colour). It starts from the font it last returned.
class FontDialog {
public:
    FontDialog();

    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }

    // Shows the dialog; false when the user cancels.
    bool execute(QWidget* parent);

private:
    Font font_;
};

}  // namespace vorlin::ui
