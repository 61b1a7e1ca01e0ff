#include "document/gui/search_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "document/find_replace.h"
#include "platform/qt/qt_text.h"
#include "settings/language_texts.h"

namespace kestrum {
namespace {

// A menu caption without its access-key mark ("&Find" -> "Find").
QString Title(const std::string& caption) {
    QString title = CaptionText(caption);
    title.remove(QChar('&'));
    return title;
}

ScreenRect RectOf(const QRect& rect) { return {rect.left(), rect.top(), rect.width(), rect.height()}; }

}  // namespace

SearchDialog::SearchDialog(SearchDialogKind kind, QWidget* parent) : QDialog(parent), kind_(kind) {
    const bool replace = kind == SearchDialogKind::Replace;
    setObjectName(replace ? "ReplaceDialog" : "FindDialog");
    setModal(false);
    setSizeGripEnabled(false);

    auto* fields = new QGridLayout;
    // A labelled text field in row `row`; the label's mnemonic focuses it.
    const auto addField = [fields](int row, const char* name, QLabel*& label, QLineEdit*& edit) {
        label = new QLabel;
        edit = new QLineEdit;
        edit->setObjectName(name);
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row, 1);
    };
    addField(0, "FindText", findLabel_, findEdit_);
    if (replace) addField(1, "ReplaceText", replaceLabel_, replaceEdit_);
    wholeWord_ = new QCheckBox;
    wholeWord_->setObjectName("WholeWord");
    matchCase_ = new QCheckBox;
    matchCase_->setObjectName("MatchCase");
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(wholeWord_);
    left->addWidget(matchCase_);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    findNext_ = new QPushButton;
    findNext_->setObjectName("FindNext");
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    connect(findNext_, &QPushButton::clicked, this, &SearchDialog::FindNextClicked);
    if (replace) {
        replace_ = new QPushButton;
        replace_->setObjectName("Replace");
        replaceAll_ = new QPushButton;
        replaceAll_->setObjectName("ReplaceAll");
        buttons->addWidget(replace_);
        buttons->addWidget(replaceAll_);
        connect(replace_, &QPushButton::clicked, this, &SearchDialog::ReplaceClicked);
        connect(replaceAll_, &QPushButton::clicked, this, &SearchDialog::ReplaceAllClicked);
    }
    cancel_ = new QPushButton;
    cancel_->setObjectName("Cancel");
    buttons->addWidget(cancel_);
    buttons->addStretch();
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    findEdit_->setMinimumWidth(findEdit_->fontMetrics().averageCharWidth() * 28);

    connect(findEdit_, &QLineEdit::textChanged, this, &SearchDialog::UpdateButtons);
    UpdateButtons();
    ApplyLanguage(kLanguageEnglish);
}

void SearchDialog::ApplyLanguage(int language) {
    const bool replace = kind_ == SearchDialogKind::Replace;
    setWindowTitle(Title(MenuCaption(replace ? "MainMenuEditReplace" : "MainMenuEditFind", language)));
    findLabel_->setText(CaptionText(LanguageText(kTextFindWhat, language)));
    if (replaceLabel_) replaceLabel_->setText(CaptionText(LanguageText(kTextReplaceWith, language)));
    wholeWord_->setText(CaptionText(LanguageText(kTextMatchWholeWord, language)));
    matchCase_->setText(CaptionText(LanguageText(kTextMatchCase, language)));
    findNext_->setText(CaptionText(LanguageText(kTextFindNext, language)));
    if (replace_) replace_->setText(CaptionText(MenuCaption("MainMenuEditReplace", language)));
    if (replaceAll_) replaceAll_->setText(CaptionText(LanguageText(kTextReplaceAll, language)));
    cancel_->setText(CaptionText(LanguageText(kTextCancel, language)));
    adjustSize();
}

SearchDialogInput SearchDialog::Input() const {
    SearchDialogInput input;
    input.FindText = QStringToCp1252(findEdit_->text());
    if (replaceEdit_) input.ReplaceText = QStringToCp1252(replaceEdit_->text());
    input.WholeWord = wholeWord_->isChecked();
    input.MatchCase = matchCase_->isChecked();
    return input;
}

void SearchDialog::UpdateButtons() {
    const bool enabled = SearchButtonsEnabled(QStringToCp1252(findEdit_->text()));
    findNext_->setEnabled(enabled);
    if (replace_) replace_->setEnabled(enabled);
    if (replaceAll_) replaceAll_->setEnabled(enabled);
}

QtSearchDialogs::QtSearchDialogs(QWidget& mainWindow, const Options& options)
    : QObject(&mainWindow), main_(mainWindow), options_(options) {
    for (const SearchDialogKind kind : {SearchDialogKind::Find, SearchDialogKind::Replace})
        dialogs_[static_cast<std::size_t>(kind)] = new SearchDialog(kind, &mainWindow);
    SearchDialog& find = Dialog(SearchDialogKind::Find);
    SearchDialog& replace = Dialog(SearchDialogKind::Replace);
    connect(&find, &SearchDialog::FindNextClicked, this, &QtSearchDialogs::FindDialogFind);
    connect(&replace, &SearchDialog::FindNextClicked, this, &QtSearchDialogs::ReplaceDialogFind);
    connect(&replace, &SearchDialog::ReplaceClicked, this, [this] { emit ReplaceDialogReplace(false); });
    connect(&replace, &SearchDialog::ReplaceAllClicked, this, [this] { emit ReplaceDialogReplace(true); });
}

ScreenRect QtSearchDialogs::MeasureSize(SearchDialogKind kind) {
    SearchDialog& dialog = Dialog(kind);
    dialog.ApplyLanguage(options_.Language);
    dialog.show();
    QApplication::processEvents();
    const QRect frame = dialog.frameGeometry();
    dialog.hide();
    QApplication::processEvents();
    return {0, 0, frame.width(), frame.height()};
}

void QtSearchDialogs::Show(SearchDialogKind kind, ScreenPoint position) {
    SearchDialog& dialog = Dialog(kind);
    dialog.ApplyLanguage(options_.Language);
    dialog.move(position.X, position.Y);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    dialog.FindEdit()->setFocus();
    dialog.FindEdit()->selectAll();
}

void QtSearchDialogs::Close(SearchDialogKind kind) { Dialog(kind).hide(); }

bool QtSearchDialogs::IsVisible(SearchDialogKind kind) { return Dialog(kind).isVisible(); }

SearchDialogInput QtSearchDialogs::Input(SearchDialogKind kind) { return Dialog(kind).Input(); }

ScreenRect QtSearchDialogs::MainWindowFrame() { return RectOf(main_.frameGeometry()); }

ScreenRect QtSearchDialogs::AvailableArea() {
    const QScreen* screen = main_.screen() ? main_.screen() : QApplication::primaryScreen();
    return screen ? RectOf(screen->availableGeometry()) : ScreenRect{0, 0, 1024, 768};
}

}  // namespace kestrum
