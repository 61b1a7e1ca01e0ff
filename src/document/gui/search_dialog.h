#pragma once
// Our own modeless Find and Replace dialogs: a find text, whole word and
// match case, always searching towards the end of the protocol; the replace
// dialog adds a replace text, Replace and Replace All. Escape or Cancel
// closes a dialog. The search buttons are disabled while the find text is
// empty. The dialogs hold no search logic: their buttons emit signals that
// the window forwards to the search handlers.

#include <QDialog>
#include <QObject>

#include <array>

#include "document/search_dialogs.h"
#include "settings/options.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrum {

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    SearchDialog(SearchDialogKind kind, QWidget* parent);
    // Captions and labels in `language` (1 English, 2 German).
    void ApplyLanguage(int language);
    SearchDialogInput Input() const;
    SearchDialogKind Kind() const { return kind_; }

    QLineEdit* FindEdit() const { return findEdit_; }
    QLineEdit* ReplaceEdit() const { return replaceEdit_; }
    QCheckBox* WholeWord() const { return wholeWord_; }
    QCheckBox* MatchCase() const { return matchCase_; }
    QPushButton* FindNextButton() const { return findNext_; }
    QPushButton* ReplaceButton() const { return replace_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }
    QPushButton* CancelButton() const { return cancel_; }

signals:
    void FindNextClicked();
    void ReplaceClicked();
    void ReplaceAllClicked();

private:
    void UpdateButtons();

    SearchDialogKind kind_;
    QLabel* findLabel_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QLabel* replaceLabel_ = nullptr;
    QLineEdit* replaceEdit_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Both dialogs as the search handlers see them, children of the main window.
class QtSearchDialogs : public QObject, public SearchDialogs {
    Q_OBJECT
public:
    QtSearchDialogs(QWidget& mainWindow, const Options& options);

    ScreenRect MeasureSize(SearchDialogKind kind) override;
    void Show(SearchDialogKind kind, ScreenPoint position) override;
    void Close(SearchDialogKind kind) override;
    bool IsVisible(SearchDialogKind kind) override;
    SearchDialogInput Input(SearchDialogKind kind) override;
    ScreenRect MainWindowFrame() override;
    ScreenRect AvailableArea() override;

    SearchDialog& Dialog(SearchDialogKind kind) { return *dialogs_[static_cast<std::size_t>(kind)]; }

signals:
    // The find dialog's Find Next.
    void FindDialogFind();
    // The replace dialog's Find Next, Replace and Replace All.
    void ReplaceDialogFind();
    void ReplaceDialogReplace(bool replaceAll);

private:
    QWidget& main_;
    const Options& options_;
    std::array<SearchDialog*, 2> dialogs_{};
};

}  // namespace kestrum
