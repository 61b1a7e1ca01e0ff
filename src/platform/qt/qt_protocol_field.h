#pragma once
// The protocol field over a QPlainTextEdit.
//
// Appends and deletions of the last line are queued and applied together in
// one edit block at most every FlushIntervalMs: a line appended and deleted
// again before the flush (an open line replaced by its longer version) never
// reaches the widget. Anything that reads or edits the field flushes first;
// so does every key, mouse press or drop on the widget. Code that works on
// the widget directly calls Flush() before it does.
//
// The field has both scroll bars and never wraps a line. Every way the user
// can put text into the document (typing, pasting by key or by the middle
// mouse button, dropping, an input method's commit) first calls the user
// edit handler and then flushes, so the program writes what it must before
// the user's text arrives. Characters that the program's single-byte text
// (Windows-1252) cannot hold are refused where the user puts them in, with
// a beep: they would otherwise be sent and saved as '?'.
//
// Lines: an appended line always ends with a line break, so the document
// keeps an empty last paragraph where the caret sits; LineCount() does not
// count that empty paragraph.
//
// The edit keys (undo, copy, cut, paste, delete with Shift+Del, select all)
// are not the widget's own: with an edit key handler set, each goes to it,
// so that keys and menu items take one path. Copy puts the lines on the
// clipboard from the document's own text and formats, without the widget's
// conversion to other formats.

#include <QObject>
#include <QTextCharFormat>
#include <QTimer>

#include <functional>

#include <optional>
#include <string>
#include <vector>

#include "platform/protocol_field.h"

class QKeyEvent;
class QPlainTextEdit;
class QTextCursor;

namespace kestrum {

class QtProtocolField : public QObject, public ProtocolField {
    Q_OBJECT
public:
    static constexpr int kDefaultFlushIntervalMs = 30;
    // Far beyond a day of recording, well before memory runs out.
    static constexpr qsizetype kDefaultMaxCharacters = 512LL * 1024 * 1024;
    static constexpr int kDefaultMaxLines = 4'000'000;

    explicit QtProtocolField(QPlainTextEdit& edit, QObject* parent = nullptr);
    ~QtProtocolField() override;

    void SetAppendAttributes(const TextAttributes& attributes) override;
    bool AppendLine(const std::string& text) override;
    bool DeleteLastLine() override;
    void Clear() override;
    int LineCount() override;
    std::string LineText(int index) override;
    int ControlWidth() override;
    int PixelsPerInch() override;
    void FocusAtEnd() override;
    void ClearUndoBuffer() override;

    int TextLength() override;
    int CaretPosition() override;
    void SetCaretPosition(int position) override;
    int SelectionLength() override;
    void Select(int start, int length) override;
    void SelectAll() override;
    void ReplaceSelection(const std::string& text) override;
    void ReplaceSelectionWithLines(const FieldLineSource& lines) override;
    void DeleteSelection() override;
    int Find(const std::string& text, int from, FindOptions options) override;
    // In one pass over the text and one edit block: one undo step, no
    // search over the whole text after every replacement.
    int ReplaceAll(const std::string& text, const std::string& replacement, int from, FindOptions options,
                   int& last) override;
    bool CanUndo() override;
    void Undo() override;
    void ReadLines(FieldLineSink& sink) override;
    void ReadSelectedLines(FieldLineSink& sink) override;
    bool LoadLines(const FieldLineSource& lines) override;
    void CopySelection(std::function<std::string()> makeRtf) override;
    bool ClipboardHasText() override;
    ClipboardContent Clipboard() override;

    // The keys that run edit commands instead of the widget's own actions.
    enum class EditKey { Undo, Copy, Cut, Paste, Delete, SelectAll };
    // Called for each edit key pressed in the field (may be empty: the
    // widget handles the keys itself).
    void SetEditKeyHandler(std::function<void(EditKey)> handler) { editKey_ = std::move(handler); }
    // The edit key of a key press, if it is one.
    static std::optional<EditKey> EditKeyOf(const QKeyEvent& event);

    // Applies every queued change to the widget now.
    void Flush();
    // Called before the user changes the document (may be empty).
    void SetUserEditHandler(std::function<void()> handler) { userEdit_ = std::move(handler); }
    bool HasPendingChanges() const { return pendingDeletes_ > 0 || !pendingLines_.empty(); }
    void SetDefaultAttributes(const TextAttributes& attributes) override;
    void SetBackgroundColour(Colour colour) override;
    Limits CapacityLimits() const override { return {maxLines_, maxCharacters_}; }
    // Characters (the document's count) and lines past which AppendLine fails.
    void SetCapacity(qsizetype maxCharacters, int maxLines);
    void SetFlushInterval(int milliseconds);
    QPlainTextEdit& Edit() { return edit_; }

    // The character format of a text run with these attributes.
    static QTextCharFormat CharFormat(const TextAttributes& attributes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PendingLine {
        QString Text;
        int Format;  // index into formats_
    };
    int CurrentFormatIndex();
    void ScheduleFlush();
    void ApplyTypingFormat();
    // Reads positions [from, to) into `sink`; with `wholeLines` every line
    // ends at its line end and an empty last paragraph is left out.
    void ReadRange(FieldLineSink& sink, int from, int to, bool wholeLines);
    // The text of positions [from, to) with '\n' between lines.
    QString PlainText(int from, int to);
    // Inserts `lines` at `cursor`, joined by line breaks, with a line break
    // after the last one when `endLastLine`.
    void InsertLines(QTextCursor& cursor, const FieldLineSource& lines, bool endLastLine);
    // Flush's change of the document: `deletes` last lines removed, then
    // `lines` appended at the end.
    void ApplyPending(QTextCursor& cursor, int deletes, const std::vector<PendingLine>& lines);
    const QString& RawText();
    static bool IsUserEdit(QObject* watched, QEvent* event, const QPlainTextEdit& edit);
    // Removes, as part of the same edit, what the user put in that is not
    // single-byte text.
    void RefuseForeignCharacters(int position, int added);

    QPlainTextEdit& edit_;
    QTimer flushTimer_;
    TextAttributes attributes_;
    // Formats made so far with the attributes they were made from: lines
    // switch between a few of them, and making one is costly.
    struct MadeFormat {
        TextAttributes Attributes;
        QTextCharFormat Format;
        int LineFormat;  // its index in lineFormats_
    };
    static constexpr std::size_t kMaxFormats = 64;  // forgotten after a flush beyond this
    std::vector<MadeFormat> formats_;
    int currentFormat_ = -1;                // -1: attributes_ not yet looked up in formats_
    bool typingFormatDirty_ = true;
    int pendingDeletes_ = 0;                // lines of the widget to delete first
    std::vector<PendingLine> pendingLines_; // then these lines to append
    qsizetype pendingCharacters_ = 0;
    qsizetype maxCharacters_ = kDefaultMaxCharacters;
    int maxLines_ = kDefaultMaxLines;
    bool flushing_ = false;
    bool refusing_ = false;
    std::function<void()> userEdit_;
    std::function<void(EditKey)> editKey_;
    // Every paragraph that the program wrote as one run carries the index of
    // its attributes here as its block's user state; the user's edits set
    // the state of the paragraphs they touch to -1. Reading the document
    // then needs the paragraph's own pieces only where the user changed it.
    std::vector<TextAttributes> lineFormats_;
    int LineFormatIndex(const TextAttributes& attributes);
    void MarkUserEdit(int position, int added);
    bool programEdit_ = false;  // the program changes the document: no marks
    // The document's text with its paragraph separators, kept for searching
    // until the document changes.
    QString rawText_;
    bool rawTextValid_ = false;
    bool rawTextReleaseQueued_ = false;
    // Whether the clipboard offers something to paste; unknown after a change.
    std::optional<bool> clipboardHasText_;
};

}  // namespace kestrum
