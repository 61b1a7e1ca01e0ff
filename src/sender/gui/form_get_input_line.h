#pragma once
// TFormGetInputLine: the manual-send dialog. A prompt over an editable combo
// box with the channel's recent entries (newest first, 32 shown in the
// drop-down), OK (Enter), Cancel (Escape) and Clear History beside it.
// Modal, single border, centred on the main window.
//
// While it is open the list follows the dialog's rules: the text in the
// field joins the top of the list when the drop-down opens and when the
// field loses the focus (also on OK); choosing "<NullString>" empties the
// field; Clear History empties the list and marks the showing as cleared,
// and anything typed after it takes the mark away again. Characters outside
// Windows-1252 cannot be typed.

#include <QComboBox>
#include <QDialog>

#include <string>
#include <vector>

#include "sender/input_line_dialog.h"

class QLabel;
class QPushButton;

namespace kestrum {

// The combo box, telling when its drop-down opens and closes.
class HistoryComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;

signals:
    void PopupAboutToShow();
    void PopupHidden();
};

class TFormGetInputLine : public QDialog, public InputLineDialog {
    Q_OBJECT
public:
    static constexpr int kDropDownCount = 32;

    explicit TFormGetInputLine(QWidget* mainWindow);

    InputLineOutcome GetInputLine(const InputLineRequest& request, std::string& text, std::vector<std::string>& list,
                                  int& count, int maxCount) override;

    // Parts of the dialog, for tests.
    QLabel* LabelPrompt() const { return labelPrompt_; }
    HistoryComboBox* ComboBoxInputLine() const { return comboBox_; }
    QPushButton* ButtonOk() const { return buttonOk_; }
    QPushButton* ButtonCancel() const { return buttonCancel_; }
    QPushButton* ButtonClearHistory() const { return buttonClearHistory_; }
    bool HistoryClearedMark() const { return historyCleared_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The field's text to the top of the list; the first item selected when
    // the text was not empty, else none.
    void AddInputText();
    void ShowItems();
    // The proposed text selected (highlight) or the cursor after it.
    void ShowProposal();
    void ButtonOkOnClick();
    void ButtonClearHistoryOnClick();
    void ComboBoxOnCloseUp();
    void SetCaptions(int language);

    QLabel* labelPrompt_;
    HistoryComboBox* comboBox_;
    QPushButton* buttonOk_;
    QPushButton* buttonCancel_;
    QPushButton* buttonClearHistory_;
    std::vector<std::string> items_;  // the combo box's items, single-byte
    int maxCount_ = 0;
    bool historyCleared_ = false;   // HistoryClearedMark
    bool highlight_ = true;
    int captionLanguage_ = 0;       // language of the button captions
    int requestedLanguage_ = 1;
};

}  // namespace kestrum
