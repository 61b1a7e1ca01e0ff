#pragma once
// The font dialog of a font entry: font, size, bold and italic, and (with
// effects) underline, strike-out and colour, with a sample; modal, OK and
// Cancel. A font that does not exist here ("FixedSys") is shown as the
// system's fixed-pitch font, and the entry keeps its name unless another
// font is chosen.

#include <QDialog>

#include "base/colour.h"
#include "platform/font_dialog.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFontComboBox;
class QGroupBox;
class QLabel;

namespace kestrum {

// The widgets carry object names for tests: "FontNameBox", "FontSizeBox",
// "BoldBox", "ItalicBox", "EffectsBox" (underline, strike-out and colour),
// "UnderlineBox", "StrikeOutBox", "ColourBox", "SampleLabel".
class FontEntryDialog : public QDialog {
    Q_OBJECT
public:
    FontEntryDialog(const FontChoice& start, const FontDialogOptions& options, QWidget* parent = nullptr);

    // The font shown now; the start name while the shown family is the one
    // it started with. False while the size is not a number of 1..999.
    bool Choice(FontChoice& choice) const;
    // Picks a colour of the list, or adds it as the custom colour.
    void SelectColour(Colour colour);

private:
    void Refresh();
    void ColourActivated(int index);

    FontChoice start_;
    QString startFamily_;
    int language_;
    bool effects_;
    QFontComboBox* name_ = nullptr;
    QComboBox* size_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QGroupBox* effectsBox_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QCheckBox* strikeOut_ = nullptr;
    QComboBox* colour_ = nullptr;
    QLabel* sample_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    int lastColourIndex_ = 0;
};

// The dialog behind the font-dialog interface, owned by the main window.
class QtFontDialog : public FontDialog {
public:
    explicit QtFontDialog(QWidget* owner) : owner_(owner) {}
    bool ChooseFont(FontChoice& choice, const FontDialogOptions& options) override;

private:
    QWidget* owner_;
};

}  // namespace kestrum
