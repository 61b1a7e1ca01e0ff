#include "sender/gui/form_get_input_line.h"

#include <QEvent>
#include <QFocusEvent>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

#include <algorithm>

#include "platform/qt/qt_text.h"
#include "sender/input_line_history.h"

namespace kestrum {
namespace {

// Takes only text that Windows-1252 can hold: it is sent one byte per character.
class SingleByteValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return Cp1252ToQString(QStringToCp1252(input)) == input ? Acceptable : Invalid;
    }
};

constexpr int kMinimumWidth = 620;

}  // namespace

void HistoryComboBox::showPopup() {
    emit PopupAboutToShow();
    QComboBox::showPopup();
}

void HistoryComboBox::hidePopup() {
    QComboBox::hidePopup();
    emit PopupHidden();
}

TFormGetInputLine::TFormGetInputLine(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName("FormGetInputLine");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    labelPrompt_ = new QLabel(this);
    labelPrompt_->setObjectName("LabelPrompt");
    comboBox_ = new HistoryComboBox(this);
    comboBox_->setObjectName("ComboBoxInputLine");
    comboBox_->setEditable(true);
    comboBox_->setInsertPolicy(QComboBox::NoInsert);
    comboBox_->setCompleter(nullptr);  // 'abc' and 'ABC' are two entries
    comboBox_->setMaxVisibleItems(kDropDownCount);
    comboBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    comboBox_->lineEdit()->setValidator(new SingleByteValidator(comboBox_));
    buttonOk_ = new QPushButton(this);
    buttonOk_->setObjectName("ButtonOk");
    buttonOk_->setDefault(true);
    buttonCancel_ = new QPushButton(this);
    buttonCancel_->setObjectName("ButtonCancel");
    buttonClearHistory_ = new QPushButton(this);
    buttonClearHistory_->setObjectName("ButtonClearHistory");
    for (QPushButton* button : {buttonOk_, buttonCancel_, buttonClearHistory_}) {
        button->setAutoDefault(false);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    buttonOk_->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(labelPrompt_, 0, 0, 1, 4);
    layout->addWidget(comboBox_, 1, 0);
    layout->addWidget(buttonOk_, 1, 1);
    layout->addWidget(buttonCancel_, 1, 2);
    layout->addWidget(buttonClearHistory_, 1, 3);
    SetCaptions(1);

    comboBox_->installEventFilter(this);
    comboBox_->lineEdit()->installEventFilter(this);
    connect(comboBox_, &HistoryComboBox::PopupAboutToShow, this, [this] { AddInputText(); });
    connect(comboBox_, &HistoryComboBox::PopupHidden, this,
            [this] { QTimer::singleShot(0, this, [this] { ComboBoxOnCloseUp(); }); });
    // Typing after Clear History means the new text is to be sent.
    connect(comboBox_->lineEdit(), &QLineEdit::textEdited, this, [this] { historyCleared_ = false; });
    // The placeholder for an empty entry is never input text of its own.
    connect(comboBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (text == Cp1252ToQString(kNullString)) comboBox_->clearEditText();
    });
    connect(buttonOk_, &QPushButton::clicked, this, &TFormGetInputLine::ButtonOkOnClick);
    connect(buttonCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(buttonClearHistory_, &QPushButton::clicked, this, &TFormGetInputLine::ButtonClearHistoryOnClick);
}

void TFormGetInputLine::SetCaptions(int language) {
    const InputLineButtonCaptions captions = InputLineButtonCaptionsOf(language);
    buttonOk_->setText(Cp1252ToQString(captions.Ok));
    buttonCancel_->setText(Cp1252ToQString(captions.Cancel));
    buttonClearHistory_->setText(Cp1252ToQString(captions.ClearHistory));
    captionLanguage_ = language;
    // As high as the combo box, wide enough for the longest caption.
    const int height = comboBox_->sizeHint().height();
    for (QPushButton* button : {buttonOk_, buttonCancel_, buttonClearHistory_})
        button->setFixedSize(std::max(button->sizeHint().width(), 75), height);
}

InputLineOutcome TFormGetInputLine::GetInputLine(const InputLineRequest& request, std::string& text,
                                                 std::vector<std::string>& list, int& count, int maxCount) {
    setWindowTitle(CaptionText(request.Caption));
    labelPrompt_->setText(CaptionText(request.Prompt));
    maxCount_ = maxCount;
    highlight_ = request.Highlight;
    requestedLanguage_ = request.Language;
    comboBox_->lineEdit()->setMaxLength(request.MaxLength > 0 ? request.MaxLength : 32767);
    items_.clear();
    for (int i = std::min(count, static_cast<int>(list.size())) - 1; i >= 0; --i)
        if (!list[static_cast<std::size_t>(i)].empty())
            AddInputLineToHistory(items_, list[static_cast<std::size_t>(i)], maxCount_);
    ShowItems();
    if (request.KeepText) {
        comboBox_->setCurrentIndex(-1);
        comboBox_->setEditText(Cp1252ToQString(text));
    } else if (!items_.empty() && items_.front() != kNullString) {
        comboBox_->setCurrentIndex(0);
    } else {
        comboBox_->setCurrentIndex(-1);
        comboBox_->clearEditText();
    }

    if (exec() != QDialog::Accepted) return {};
    count = static_cast<int>(items_.size());
    list.assign(static_cast<std::size_t>(std::max(count, maxCount)), std::string());
    std::copy(items_.begin(), items_.end(), list.begin());
    text = QStringToCp1252(comboBox_->currentText());
    return {false, historyCleared_};
}

void TFormGetInputLine::showEvent(QShowEvent* event) {
    if (captionLanguage_ != requestedLanguage_) SetCaptions(requestedLanguage_);
    historyCleared_ = false;
    QDialog::showEvent(event);
    layout()->activate();
    setFixedSize(std::max(kMinimumWidth, sizeHint().width()), sizeHint().height());
    comboBox_->setFocus();
    ShowProposal();
    // The focus arrives once the window is active, and may select the text.
    QTimer::singleShot(0, this, [this] { ShowProposal(); });
}

void TFormGetInputLine::ShowProposal() {
    QLineEdit* edit = comboBox_->lineEdit();
    if (highlight_) {
        edit->selectAll();
    } else {
        edit->deselect();
        edit->end(false);
    }
}

bool TFormGetInputLine::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the combo box (a drop-down that opens takes the focus only
    // for itself: that case adds the text when it opens).
    if (event->type() == QEvent::FocusOut && (watched == comboBox_ || watched == comboBox_->lineEdit())) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && !comboBox_->isAncestorOf(QApplication::focusWidget())) AddInputText();
    }
    return QDialog::eventFilter(watched, event);
}

void TFormGetInputLine::AddInputText() {
    const std::string text = QStringToCp1252(comboBox_->currentText());
    AddInputLineToHistory(items_, text, maxCount_);
    ShowItems();
    if (!text.empty()) {
        comboBox_->setCurrentIndex(0);
    } else {
        comboBox_->setCurrentIndex(-1);
        comboBox_->clearEditText();
    }
}

void TFormGetInputLine::ShowItems() {
    const QString text = comboBox_->currentText();
    const QSignalBlocker block(comboBox_);
    comboBox_->clear();
    for (const std::string& item : items_) comboBox_->addItem(Cp1252ToQString(item));
    comboBox_->setEditText(text);
}

void TFormGetInputLine::ComboBoxOnCloseUp() {
    if (comboBox_->currentText() == Cp1252ToQString(kNullString)) {
        comboBox_->setCurrentIndex(-1);
        comboBox_->clearEditText();
    }
}

void TFormGetInputLine::ButtonOkOnClick() {
    // The focus leaves the combo box first, which adds its text to the list.
    if (!buttonOk_->hasFocus()) buttonOk_->setFocus(Qt::OtherFocusReason);
    AddInputText();
    accept();
}

void TFormGetInputLine::ButtonClearHistoryOnClick() {
    items_.clear();
    comboBox_->clear();
    comboBox_->clearEditText();
    historyCleared_ = true;
}

}  // namespace kestrum
