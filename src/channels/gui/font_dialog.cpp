#include "channels/gui/font_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"

namespace kestrum {
namespace {

constexpr int kCustomItem = -1;  // data of the item that opens the colour dialog
constexpr std::array<int, 16> kSizes = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48};

struct NamedColour {
    Colour Value;  // 0x00BBGGRR
    const char* English;
    const char* German;
};

constexpr std::array<NamedColour, 16> kColours = {{
    {0x000000, "Black", "Schwarz"},
    {0x000080, "Maroon", "Kastanienbraun"},
    {0x008000, "Green", "Gr\xC3\xBCn"},
    {0x008080, "Olive", "Olivgr\xC3\xBCn"},
    {0x800000, "Navy", "Marineblau"},
    {0x800080, "Purple", "Violett"},
    {0x808000, "Teal", "Blaugr\xC3\xBCn"},
    {0x808080, "Gray", "Grau"},
    {0xC0C0C0, "Silver", "Silber"},
    {0x0000FF, "Red", "Rot"},
    {0x00FF00, "Lime", "Hellgr\xC3\xBCn"},
    {0x00FFFF, "Yellow", "Gelb"},
    {0xFF0000, "Blue", "Blau"},
    {0xFF00FF, "Fuchsia", "Fuchsie"},
    {0xFFFF00, "Aqua", "Aquamarin"},
    {0xFFFFFF, "White", "Wei\xC3\x9F"},
}};

struct Texts {
    const char* title;
    const char* font;
    const char* size;
    const char* bold;
    const char* italic;
    const char* effects;
    const char* underline;
    const char* strikeOut;
    const char* colour;
    const char* custom;  // the custom colour in the list
    const char* choose;  // the item that opens the colour dialog
    const char* sample;
    const char* cancel;
};

const Texts& TextsOf(int language) {
    static const Texts english{"Font",       "&Font:",      "&Size:",  "&Bold",  "&Italic",         "Effects",
                               "&Underline", "Stri&ke-out", "&Color:", "Custom", "Other color ...", "Sample",
                               "Cancel"};
    static const Texts german{"Schriftart",
                              "&Schriftart:",
                              "&Gr\xC3\xB6\xC3\x9F"
                              "e:",
                              "&Fett",
                              "&Kursiv",
                              "Effekte",
                              "&Unterstrichen",
                              "&Durchgestrichen",
                              "F&arbe:",
                              "Benutzerdefiniert",
                              "Andere Farbe ...",
                              "Beispiel",
                              "Abbrechen"};
    return language == 2 ? german : english;
}

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

}  // namespace

FontEntryDialog::FontEntryDialog(const FontChoice& start, const FontDialogOptions& options, QWidget* parent)
    : QDialog(parent), start_(start), language_(options.Language), effects_(options.Effects) {
    const Texts& texts = TextsOf(language_);
    setWindowTitle(QString::fromUtf8(texts.title));
    setModal(true);

    name_ = new QFontComboBox(this);
    name_->setObjectName("FontNameBox");
    name_->setFontFilters(options.FixedPitchOnly ? QFontComboBox::MonospacedFonts : QFontComboBox::AllFonts);
    name_->setMinimumContentsLength(24);
    startFamily_ = FontFamilyOf(start.Name);
    name_->setCurrentFont(QFont(startFamily_));
    // The family the box settled on (it may have picked the nearest one).
    startFamily_ = name_->currentFont().family();

    size_ = new QComboBox(this);
    size_->setObjectName("FontSizeBox");
    size_->setEditable(true);
    size_->setInsertPolicy(QComboBox::NoInsert);
    for (int points : kSizes) size_->addItem(QString::number(points));
    size_->lineEdit()->setValidator(new QIntValidator(1, 999, size_));
    size_->setEditText(QString::number(start.Size));

    bold_ = new QCheckBox(QString::fromUtf8(texts.bold), this);
    bold_->setObjectName("BoldBox");
    bold_->setChecked((start.Style & 1) != 0);
    italic_ = new QCheckBox(QString::fromUtf8(texts.italic), this);
    italic_->setObjectName("ItalicBox");
    italic_->setChecked((start.Style & 2) != 0);

    effectsBox_ = new QGroupBox(QString::fromUtf8(texts.effects), this);
    effectsBox_->setObjectName("EffectsBox");
    underline_ = new QCheckBox(QString::fromUtf8(texts.underline), effectsBox_);
    underline_->setObjectName("UnderlineBox");
    underline_->setChecked((start.Style & 4) != 0);
    strikeOut_ = new QCheckBox(QString::fromUtf8(texts.strikeOut), effectsBox_);
    strikeOut_->setObjectName("StrikeOutBox");
    strikeOut_->setChecked((start.Style & 8) != 0);
    colour_ = new QComboBox(effectsBox_);
    colour_->setObjectName("ColourBox");
    for (const NamedColour& named : kColours)
        colour_->addItem(Swatch(ToQColor(named.Value, palette())),
                         QString::fromUtf8(language_ == 2 ? named.German : named.English), named.Value);
    colour_->addItem(QString::fromUtf8(texts.choose), kCustomItem);
    SelectColour(start.Color);
    auto* effectsLayout = new QFormLayout(effectsBox_);
    effectsLayout->addRow(underline_);
    effectsLayout->addRow(strikeOut_);
    effectsLayout->addRow(QString::fromUtf8(texts.colour), colour_);
    effectsBox_->setVisible(effects_);

    sample_ = new QLabel(QStringLiteral("AaBbYyZz 0123"), this);
    sample_->setObjectName("SampleLabel");
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumHeight(48);
    sample_->setFrameShape(QFrame::StyledPanel);
    auto* sampleBox = new QGroupBox(QString::fromUtf8(texts.sample), this);
    (new QVBoxLayout(sampleBox))->addWidget(sample_);

    auto* styles = new QHBoxLayout;
    styles->addWidget(bold_);
    styles->addWidget(italic_);
    styles->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(texts.font), name_);
    form->addRow(QString::fromUtf8(texts.size), size_);
    form->addRow(QString(), styles);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(texts.cancel));
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        FontChoice choice;
        if (Choice(choice)) accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(effectsBox_);
    layout->addWidget(sampleBox);
    layout->addWidget(buttons_);

    connect(name_, &QFontComboBox::currentFontChanged, this, [this] { Refresh(); });
    connect(size_, &QComboBox::editTextChanged, this, [this] { Refresh(); });
    for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
        connect(box, &QCheckBox::toggled, this, [this] { Refresh(); });
    connect(colour_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || colour_->itemData(index).toInt() == kCustomItem) return;
        lastColourIndex_ = index;
        Refresh();
    });
    connect(colour_, &QComboBox::activated, this, &FontEntryDialog::ColourActivated);
    Refresh();
}

void FontEntryDialog::SelectColour(Colour colour) {
    int index = colour_->findData(colour);
    if (index < 0 || colour_->itemData(index).toInt() == kCustomItem) {
        // One custom colour, just before the item that opens the colour dialog.
        const int chooser = colour_->findData(kCustomItem);
        const int custom = chooser - 1;
        const bool hasCustom = custom >= static_cast<int>(kColours.size());
        const QString text = QString::fromUtf8(TextsOf(language_).custom);
        if (hasCustom) {
            colour_->setItemData(custom, colour);
            colour_->setItemIcon(custom, Swatch(ToQColor(colour, palette())));
            index = custom;
        } else {
            colour_->insertItem(chooser, Swatch(ToQColor(colour, palette())), text, colour);
            index = chooser;
        }
    }
    colour_->setCurrentIndex(index);
    lastColourIndex_ = index;
    Refresh();
}

void FontEntryDialog::ColourActivated(int index) {
    if (colour_->itemData(index).toInt() != kCustomItem) return;
    const Colour current = colour_->itemData(lastColourIndex_).toInt();
    const QColor chosen = QColorDialog::getColor(ToQColor(current, palette()), this);
    if (chosen.isValid()) {
        SelectColour(FromQColor(chosen));
    } else {
        colour_->setCurrentIndex(lastColourIndex_);
    }
}

bool FontEntryDialog::Choice(FontChoice& choice) const {
    bool ok = false;
    const int size = size_->currentText().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > 999) return false;
    choice = start_;
    const QString family = name_->currentFont().family();
    if (family != startFamily_) choice.Name = QStringToCp1252(family);
    choice.Size = size;
    std::uint8_t style = 0;
    if (bold_->isChecked()) style |= 1;
    if (italic_->isChecked()) style |= 2;
    if (effects_) {
        if (underline_->isChecked()) style |= 4;
        if (strikeOut_->isChecked()) style |= 8;
        choice.Color = colour_->itemData(lastColourIndex_).toInt();
    } else {
        style |= static_cast<std::uint8_t>(start_.Style & 12);
    }
    choice.Style = style;
    return true;
}

void FontEntryDialog::Refresh() {
    if (buttons_ == nullptr) return;  // still being built
    FontChoice choice;
    const bool valid = Choice(choice);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(valid);
    if (!valid) return;
    QFont font = name_->currentFont();
    font.setPointSize(choice.Size);
    font.setBold((choice.Style & 1) != 0);
    font.setItalic((choice.Style & 2) != 0);
    font.setUnderline((choice.Style & 4) != 0);
    font.setStrikeOut((choice.Style & 8) != 0);
    sample_->setFont(font);
    QPalette colours = sample_->palette();
    colours.setColor(QPalette::WindowText, ToQColor(choice.Color, palette()));
    sample_->setPalette(colours);
}

bool QtFontDialog::ChooseFont(FontChoice& choice, const FontDialogOptions& options) {
    FontEntryDialog dialog(choice, options, owner_);
    if (dialog.exec() != QDialog::Accepted) return false;
    FontChoice chosen;
    if (!dialog.Choice(chosen)) return false;
    choice = chosen;
    return true;
}

}  // namespace kestrum
