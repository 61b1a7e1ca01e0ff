#include "platform/qt/qt_protocol_field.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <vector>

#include "base/windows1252.h"
#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"

namespace kestrum {
namespace {

// Line breaks inside one line would split it into two paragraphs; they are
// shown as the control pictures and read back as the bytes.
constexpr char16_t kLfPicture = 0x240A;
constexpr char16_t kCrPicture = 0x240D;

QString LineToQString(const std::string& text) {
    QString line = Cp1252ToQString(text);
    for (QChar& c : line) {
        if (c == QChar('\n')) c = QChar(kLfPicture);
        else if (c == QChar('\r')) c = QChar(kCrPicture);
    }
    return line;
}

std::string QStringToLine(QString line) {
    for (QChar& c : line) {
        if (c == QChar(kLfPicture)) c = QChar('\n');
        else if (c == QChar(kCrPicture)) c = QChar('\r');
    }
    return QStringToCp1252(line);
}

// A character of the document that the single-byte text cannot hold (the
// pictures that stand for line breaks inside a line and the paragraph
// breaks are the program's own).
bool IsForeign(QChar c) {
    const char16_t code = c.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return false;
    if (code == kLfPicture || code == kCrPicture || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
        return false;
    return UnicodeToWindows1252(code) == '?';
}

std::size_t FindLineEnd(std::string_view text, std::size_t pos) {
    for (; pos < text.size(); ++pos)
        if (text[pos] == '\r' || text[pos] == '\n') return pos;
    return std::string_view::npos;
}

// Appends the bytes of one line as LineToQString shows them.
void AppendLineText(QString& out, std::string_view bytes) {
    const qsizetype start = out.size();
    AppendCp1252(out, bytes);
    if (FindLineEnd(bytes, 0) == std::string_view::npos) return;
    for (qsizetype i = start; i < out.size(); ++i) {
        if (out[i] == QChar('\n')) out[i] = QChar(kLfPicture);
        else if (out[i] == QChar('\r')) out[i] = QChar(kCrPicture);
    }
}

// Appends a piece of a line as QStringToLine reads it back.
void AppendLineBytes(std::string& out, QStringView text) {
    std::size_t at = out.size();  // every character gives one byte
    out.resize(at + static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out[at++] = static_cast<char>(code);
        } else if (code == kLfPicture || code == kCrPicture) {
            out[at++] = code == kLfPicture ? '\n' : '\r';
        } else {
            out[at++] = QCharToCp1252(c);
        }
    }
}

// `text` as lines joined by '\n': CR LF, LF and a lone CR each end a line.
QString TextWithLineBreaks(const std::string& text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(FindLineEnd(text, pos), text.size());
        AppendCp1252(out, std::string_view(text).substr(pos, end - pos));
        if (end == text.size()) break;
        out += QChar('\n');
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == QChar('_'); }

// Whether the match at `position` stands as a whole word: no word character
// before it (`before`, none at the start) or right after it.
bool IsWholeWord(const QString& text, qsizetype position, qsizetype length, std::optional<QChar> before) {
    if (before && IsWordCharacter(*before)) return false;
    const qsizetype end = position + length;
    return end >= text.size() || !IsWordCharacter(text[end]);
}

bool IsWholeWord(const QString& text, qsizetype position, qsizetype length) {
    return IsWholeWord(text, position, length, position > 0 ? std::optional(text[position - 1]) : std::nullopt);
}

// The rich-text formats another program may offer on the clipboard.
constexpr const char* kRtfMimeTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

// What Copy puts on the clipboard: the text, and Rich Text made when a
// program asks for it first (a program that only pastes text never waits
// for it).
class CopiedMimeData : public QMimeData {
public:
    explicit CopiedMimeData(std::function<std::string()> makeRtf) : makeRtf_(std::move(makeRtf)) {}

    QStringList formats() const override { return {QStringLiteral("text/plain"), QString::fromLatin1(kRtfMimeTypes[0])}; }
    bool hasFormat(const QString& type) const override { return formats().contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType metaType) const override {
        if (type != QLatin1String(kRtfMimeTypes[0])) return QMimeData::retrieveData(type, metaType);
        if (makeRtf_) {
            const std::string rtf = makeRtf_();
            rtf_ = QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
            makeRtf_ = nullptr;  // its copy of the selection is no longer needed
        }
        return rtf_;
    }

private:
    mutable std::function<std::string()> makeRtf_;
    mutable QByteArray rtf_;
};

int CommittedLines(const QTextDocument& document) {
    const int blocks = document.blockCount();
    return document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QFont FontOf(const TextAttributes& attributes) {
    return FontOfEntry(attributes.FontName, attributes.FontSize, attributes.Style);
}

// A change of the document by the program itself, for as long as it lives:
// not an edit the user can undo (keeping the program's lines in the undo
// history would also cost memory on every line), and not checked as typed
// or pasted text.
class ProgramEdit {
public:
    ProgramEdit(QTextDocument& document, bool& flag)
        : document_(document), flag_(flag), undo_(document.isUndoRedoEnabled()) {
        if (undo_) document_.setUndoRedoEnabled(false);
        flag_ = true;
    }
    ~ProgramEdit() {
        flag_ = false;
        if (undo_) document_.setUndoRedoEnabled(true);
    }
    ProgramEdit(const ProgramEdit&) = delete;
    ProgramEdit& operator=(const ProgramEdit&) = delete;

private:
    QTextDocument& document_;
    bool& flag_;
    bool undo_;
};

}  // namespace

QtProtocolField::QtProtocolField(QPlainTextEdit& edit, QObject* parent)
    : QObject(parent), edit_(edit) {
    edit_.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    edit_.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kDefaultFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &QtProtocolField::Flush);
    edit_.installEventFilter(this);
    edit_.viewport()->installEventFilter(this);
    connect(edit_.document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { RefuseForeignCharacters(position, added); });
    connect(&edit_, &QPlainTextEdit::textChanged, this, [this] {
        rawTextValid_ = false;
        // The old text is let go once the change is done, unless a
        // replacement brought it up to date meanwhile.
        if (!rawText_.isNull() && !rawTextReleaseQueued_) {
            rawTextReleaseQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                rawTextReleaseQueued_ = false;
                if (!rawTextValid_) rawText_ = QString();
            });
        }
    });
    connect(edit_.document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        if (!programEdit_) MarkUserEdit(position, added);
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { clipboardHasText_.reset(); });
}

QtProtocolField::~QtProtocolField() {
    edit_.removeEventFilter(this);
    if (edit_.viewport()) edit_.viewport()->removeEventFilter(this);
}

QTextCharFormat QtProtocolField::CharFormat(const TextAttributes& attributes) {
    QTextCharFormat format;
    format.setFont(FontOf(attributes), QTextCharFormat::FontPropertiesAll);
    format.setForeground(ToQColor(attributes.Color, QPalette()));
    return format;
}

void QtProtocolField::SetAppendAttributes(const TextAttributes& attributes) {
    if (attributes == attributes_ && currentFormat_ >= 0) return;
    attributes_ = attributes;
    currentFormat_ = -1;
    typingFormatDirty_ = true;
}

int QtProtocolField::CurrentFormatIndex() {
    if (currentFormat_ < 0) {
        for (std::size_t i = 0; i < formats_.size(); ++i)
            if (formats_[i].Attributes == attributes_) {
                currentFormat_ = static_cast<int>(i);
                return currentFormat_;
            }
        formats_.push_back({attributes_, CharFormat(attributes_), LineFormatIndex(attributes_)});
        currentFormat_ = static_cast<int>(formats_.size()) - 1;
    }
    return currentFormat_;
}

bool QtProtocolField::AppendLine(const std::string& text) {
    QTextDocument& document = *edit_.document();
    const qsizetype characters = document.characterCount() + pendingCharacters_ +
                                 static_cast<qsizetype>(text.size()) + 1;
    const qsizetype lines = static_cast<qsizetype>(CommittedLines(document) - pendingDeletes_) +
                            static_cast<qsizetype>(pendingLines_.size()) + 1;
    if (characters > maxCharacters_ || lines > maxLines_) return false;
    pendingLines_.push_back({LineToQString(text), CurrentFormatIndex()});
    pendingCharacters_ += static_cast<qsizetype>(text.size()) + 1;
    ScheduleFlush();
    return true;
}

bool QtProtocolField::DeleteLastLine() {
    if (!pendingLines_.empty()) {
        pendingCharacters_ -= pendingLines_.back().Text.size() + 1;
        pendingLines_.pop_back();
        return true;
    }
    if (pendingDeletes_ < CommittedLines(*edit_.document())) {
        ++pendingDeletes_;
        ScheduleFlush();
    }
    return true;
}

void QtProtocolField::Clear() {
    pendingLines_.clear();
    pendingDeletes_ = 0;
    pendingCharacters_ = 0;
    formats_.clear();
    currentFormat_ = -1;
    flushTimer_.stop();
    edit_.clear();
    lineFormats_.clear();
    rawText_ = QString();
    rawTextValid_ = false;
    typingFormatDirty_ = true;
    ApplyTypingFormat();
}

int QtProtocolField::LineCount() {
    Flush();
    return CommittedLines(*edit_.document());
}

std::string QtProtocolField::LineText(int index) {
    Flush();
    if (index < 0 || index >= CommittedLines(*edit_.document())) return {};
    return QStringToLine(edit_.document()->findBlockByNumber(index).text());
}

int QtProtocolField::ControlWidth() { return edit_.width(); }

int QtProtocolField::PixelsPerInch() { return edit_.logicalDpiY(); }

void QtProtocolField::FocusAtEnd() {
    Flush();
    QTextCursor cursor = edit_.textCursor();
    cursor.movePosition(QTextCursor::End);
    edit_.setTextCursor(cursor);
    ApplyTypingFormat();
    edit_.setFocus(Qt::OtherFocusReason);
    edit_.ensureCursorVisible();
}

void QtProtocolField::ClearUndoBuffer() {
    Flush();
    edit_.document()->clearUndoRedoStacks();
}

void QtProtocolField::ScheduleFlush() {
    if (!flushTimer_.isActive()) flushTimer_.start();
}

void QtProtocolField::ApplyPending(QTextCursor& cursor, int deletes, const std::vector<PendingLine>& lines) {
    QTextDocument& document = *cursor.document();
    cursor.beginEditBlock();
    for (int i = 0; i < deletes; ++i) {
        const QTextBlock last = document.lastBlock();
        if (last.length() > 1) {
            // A last line without a line break (typed text): remove it and its break.
            const QTextBlock previous = last.previous();
            cursor.setPosition(previous.isValid() ? previous.position() + previous.length() - 1
                                                  : last.position());
        } else {
            const QTextBlock previous = last.previous();
            if (!previous.isValid()) break;
            cursor.setPosition(previous.position());
        }
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        if (document.lastBlock().length() > 1) {
            // The remaining text must end with a line break again.
            cursor.movePosition(QTextCursor::End);
            cursor.insertBlock();
        }
    }
    cursor.movePosition(QTextCursor::End);
    if (!lines.empty() && document.lastBlock().length() > 1) cursor.insertBlock();
    QTextBlock firstNew = cursor.block();
    // Lines of one format go in with one insertion: the cursor makes a new
    // paragraph, in that format, at every line break.
    QString run;
    for (std::size_t i = 0; i < lines.size();) {
        const int format = lines[i].Format;
        run.clear();
        for (; i < lines.size() && lines[i].Format == format; ++i) {
            run += lines[i].Text;
            run += QChar('\n');
        }
        cursor.insertText(run, formats_[static_cast<std::size_t>(format)].Format);
    }
    cursor.endEditBlock();
    for (const PendingLine& line : lines) {
        if (!firstNew.isValid()) break;
        firstNew.setUserState(formats_[static_cast<std::size_t>(line.Format)].LineFormat);
        firstNew = firstNew.next();
    }
}

void QtProtocolField::Flush() {
    flushTimer_.stop();
    if (flushing_ || !HasPendingChanges()) {
        ApplyTypingFormat();
        return;
    }
    flushing_ = true;
    const int deletes = pendingDeletes_;
    std::vector<PendingLine> lines;
    lines.swap(pendingLines_);
    pendingDeletes_ = 0;
    pendingCharacters_ = 0;

    QTextDocument& document = *edit_.document();
    QTextCursor cursor(&document);
    {
        const ProgramEdit edit(document, programEdit_);
        ApplyPending(cursor, deletes, lines);
    }
    if (!rawTextValid_) rawText_ = QString();

    // Each append leaves the caret at the end, so the newest line is shown.
    edit_.setTextCursor(cursor);
    typingFormatDirty_ = true;
    ApplyTypingFormat();
    edit_.ensureCursorVisible();
    flushing_ = false;
    if (formats_.size() > kMaxFormats && pendingLines_.empty()) {
        formats_.clear();
        currentFormat_ = -1;
    }
    if (HasPendingChanges()) ScheduleFlush();
}

void QtProtocolField::ApplyTypingFormat() {
    if (!typingFormatDirty_) return;
    QTextCursor cursor = edit_.textCursor();
    if (cursor.hasSelection()) return;  // never restyle the user's selection
    edit_.setCurrentCharFormat(CharFormat(attributes_));
    typingFormatDirty_ = false;
}

void QtProtocolField::SetDefaultAttributes(const TextAttributes& attributes) {
    edit_.document()->setDefaultFont(FontOf(attributes));
    QPalette palette = edit_.palette();
    palette.setColor(QPalette::Text, ToQColor(attributes.Color, palette));
    edit_.setPalette(palette);
}

void QtProtocolField::SetBackgroundColour(Colour colour) {
    QPalette palette = edit_.palette();
    const QColor background = ToQColor(colour, QPalette());
    palette.setColor(QPalette::Base, background);
    edit_.setPalette(palette);
}

void QtProtocolField::SetCapacity(qsizetype maxCharacters, int maxLines) {
    maxCharacters_ = maxCharacters;
    maxLines_ = maxLines;
}

void QtProtocolField::SetFlushInterval(int milliseconds) {
    flushTimer_.setInterval(milliseconds);
}

bool QtProtocolField::IsUserEdit(QObject* watched, QEvent* event, const QPlainTextEdit& edit) {
    if (edit.isReadOnly()) return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return !key->text().isEmpty() || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
               key->matches(QKeySequence::Delete) || key->matches(QKeySequence::Undo) ||
               key->matches(QKeySequence::Redo);
    }
    case QEvent::InputMethod:
        return !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty();
    case QEvent::Drop:
        return true;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection (X11) on release in the text area.
        return watched == edit.viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void QtProtocolField::RefuseForeignCharacters(int position, int added) {
    if (flushing_ || refusing_ || programEdit_ || added <= 0) return;
    QTextDocument& document = *edit_.document();
    // The added text read at once: characterAt() looks each position up
    // anew, which makes a pasted million lines take half a minute.
    QTextCursor range(&document);
    range.setPosition(std::clamp(position, 0, document.characterCount() - 1));
    range.setPosition(std::clamp(position + added, 0, document.characterCount() - 1), QTextCursor::KeepAnchor);
    const QString text = range.selectedText();
    const int start = range.selectionStart();
    std::vector<int> foreign;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (IsForeign(text[i])) foreign.push_back(start + static_cast<int>(i));
    if (foreign.empty()) return;
    refusing_ = true;
    QTextCursor cursor(&document);
    cursor.joinPreviousEditBlock();
    for (auto at = foreign.rbegin(); at != foreign.rend(); ++at) {
        cursor.setPosition(*at);
        cursor.setPosition(*at + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
    refusing_ = false;
    QApplication::beep();
}

bool QtProtocolField::eventFilter(QObject* watched, QEvent* event) {
    if (editKey_ && watched == &edit_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        if (const auto key = EditKeyOf(*static_cast<QKeyEvent*>(event))) {
            // Taking the override keeps the menu's shortcut from firing as
            // well; the key press that follows runs the command.
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                Flush();
                editKey_(*key);
            }
            return true;
        }
    }
    if (userEdit_ && IsUserEdit(watched, event, edit_)) {
        Flush();
        userEdit_();
        Flush();
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
        Flush();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// --- Editing, searching and the clipboard ---------------------------------

namespace {

TextAttributes AttributesOf(const QTextCharFormat& format, const QFont& defaultFont, const QColor& defaultText) {
    TextAttributes attributes;
    const QStringList families = format.fontFamilies().toStringList();
    QString family = families.isEmpty() ? QString() : families.first();
    if (family.isEmpty()) family = defaultFont.families().isEmpty() ? defaultFont.family() : defaultFont.families().first();
    attributes.FontName = QStringToCp1252(family);
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : defaultFont.pointSizeF();
    attributes.FontSize = points > 0 ? qRound(points) : TextAttributes{}.FontSize;
    const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : defaultText;
    attributes.Color = FromQColor(colour);
    int style = 0;
    if (format.fontWeight() >= QFont::Bold) style |= 1;
    if (format.fontItalic()) style |= 2;
    if (format.fontUnderline()) style |= 4;
    if (format.fontStrikeOut()) style |= 8;
    attributes.Style = static_cast<std::uint8_t>(style);
    return attributes;
}

}  // namespace

int QtProtocolField::TextLength() {
    Flush();
    return edit_.document()->characterCount() - 1;
}

int QtProtocolField::CaretPosition() {
    Flush();
    return edit_.textCursor().selectionStart();
}

void QtProtocolField::SetCaretPosition(int position) {
    Flush();
    QTextCursor cursor = edit_.textCursor();
    cursor.setPosition(std::clamp(position, 0, edit_.document()->characterCount() - 1));
    edit_.setTextCursor(cursor);
    edit_.ensureCursorVisible();
}

int QtProtocolField::SelectionLength() {
    Flush();
    const QTextCursor cursor = edit_.textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void QtProtocolField::Select(int start, int length) {
    Flush();
    const int end = edit_.document()->characterCount() - 1;
    QTextCursor cursor = edit_.textCursor();
    const int from = std::clamp(start, 0, end);
    cursor.setPosition(from);
    cursor.setPosition(std::clamp(from + std::max(length, 0), from, end), QTextCursor::KeepAnchor);
    edit_.setTextCursor(cursor);
    edit_.ensureCursorVisible();
}

void QtProtocolField::SelectAll() {
    Flush();
    edit_.selectAll();
}

void QtProtocolField::ReplaceSelection(const std::string& text) {
    Flush();
    QTextCursor cursor = edit_.textCursor();
    const QString inserted = TextWithLineBreaks(text);
    const bool patch = rawTextValid_ && !inserted.contains(QChar('\n'));
    const int start = cursor.selectionStart();
    const int removed = cursor.selectionEnd() - start;
    cursor.insertText(inserted);
    // A replacement within a line keeps the search text up to date (Replace
    // All searches again after every replacement).
    if (patch) {
        rawText_.replace(start, removed, inserted);
        rawTextValid_ = true;
    }
    edit_.setTextCursor(cursor);
    edit_.ensureCursorVisible();
}

void QtProtocolField::ReplaceSelectionWithLines(const FieldLineSource& lines) {
    Flush();
    QTextCursor cursor = edit_.textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertLines(cursor, lines, false);
    cursor.endEditBlock();
    edit_.setTextCursor(cursor);
    edit_.ensureCursorVisible();
}

void QtProtocolField::DeleteSelection() {
    Flush();
    QTextCursor cursor = edit_.textCursor();
    if (cursor.hasSelection()) cursor.removeSelectedText();
    else cursor.deleteChar();
    edit_.setTextCursor(cursor);
}

const QString& QtProtocolField::RawText() {
    Flush();
    if (!rawTextValid_) {
        rawText_ = edit_.document()->toRawText();
        rawTextValid_ = true;
    }
    return rawText_;
}

int QtProtocolField::Find(const std::string& text, int from, FindOptions options) {
    if (text.empty()) return -1;
    const QString& raw = RawText();
    QString needle;
    AppendLineText(needle, text);
    const Qt::CaseSensitivity sensitivity = options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype position = std::max(from, 0);
    while (position <= raw.size()) {
        position = raw.indexOf(needle, position, sensitivity);
        if (position < 0) return -1;
        if (!options.WholeWord || IsWholeWord(raw, position, needle.size())) return static_cast<int>(position);
        ++position;
    }
    return -1;
}

int QtProtocolField::ReplaceAll(const std::string& text, const std::string& replacement, int from,
                                FindOptions options, int& last) {
    if (text.empty()) return 0;
    const QString& raw = RawText();
    QString needle;
    AppendLineText(needle, text);
    const QString inserted = TextWithLineBreaks(replacement);
    const Qt::CaseSensitivity sensitivity = options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // The matches as replacing them one after the other finds them: a
    // search goes on after the previous replacement, and for a whole word
    // the character before a match right behind the previous one is the
    // last one put in there.
    std::vector<qsizetype> matches;
    qsizetype previousEnd = -1;
    std::optional<QChar> beforePrevious;  // the character before the previous match, as replaced
    for (qsizetype position = std::max(from, 0); position <= raw.size();) {
        position = raw.indexOf(needle, position, sensitivity);
        if (position < 0) break;
        if (options.WholeWord) {
            std::optional<QChar> before = position > 0 ? std::optional(raw[position - 1]) : std::nullopt;
            if (position == previousEnd) before = inserted.isEmpty() ? beforePrevious : std::optional(inserted.back());
            if (!IsWholeWord(raw, position, needle.size(), before)) {
                ++position;
                continue;
            }
            beforePrevious = before;
        }
        matches.push_back(position);
        position = previousEnd = position + needle.size();
    }
    if (matches.empty()) return 0;

    QTextCursor cursor(edit_.document());
    cursor.beginEditBlock();
    for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
        cursor.setPosition(static_cast<int>(*match));
        cursor.setPosition(static_cast<int>(*match + needle.size()), QTextCursor::KeepAnchor);
        cursor.insertText(inserted);
    }
    cursor.endEditBlock();
    const auto count = static_cast<qsizetype>(matches.size());
    last = static_cast<int>(matches.back() + (count - 1) * (inserted.size() - needle.size()));
    return static_cast<int>(count);
}

bool QtProtocolField::CanUndo() {
    Flush();
    return edit_.document()->isUndoAvailable();
}

void QtProtocolField::Undo() {
    Flush();
    edit_.undo();
}

int QtProtocolField::LineFormatIndex(const TextAttributes& attributes) {
    for (std::size_t i = lineFormats_.size(); i > 0; --i)
        if (lineFormats_[i - 1] == attributes) return static_cast<int>(i - 1);
    lineFormats_.push_back(attributes);
    return static_cast<int>(lineFormats_.size()) - 1;
}

void QtProtocolField::MarkUserEdit(int position, int added) {
    const QTextDocument& document = *edit_.document();
    const int end = position + std::max(added, 0);
    QTextBlock block = document.findBlock(position);
    for (int start = block.position(); block.isValid() && start <= end; block = block.next()) {
        start += block.length();
        block.setUserState(-1);
    }
}

void QtProtocolField::ReadRange(FieldLineSink& sink, int from, int to, bool wholeLines) {
    // The whole protocol is read to be saved: its text is not kept. A
    // selection is read to be copied, which takes its text once more.
    const bool cached = rawTextValid_ || !wholeLines;
    const QString& raw = RawText();
    const QTextDocument& document = *edit_.document();
    // Formats by the document's format index (pieces of edited paragraphs)
    // and by line format (paragraphs the program wrote).
    const QList<QTextFormat> formats = document.allFormats();
    std::vector<std::int64_t> sinkFormats(static_cast<std::size_t>(formats.size()), -1);
    std::vector<std::int64_t> sinkLineFormats(lineFormats_.size(), -1);
    const QFont defaultFont = document.defaultFont();
    const QColor defaultText = edit_.palette().color(QPalette::Text);
    const auto formatOf = [&](int index) {
        std::int64_t& known = sinkFormats[static_cast<std::size_t>(index)];
        if (known < 0) known = sink.AddFormat(AttributesOf(formats[index].toCharFormat(), defaultFont, defaultText));
        return static_cast<std::uint32_t>(known);
    };
    const auto lineFormatOf = [&](int index) {
        std::int64_t& known = sinkLineFormats[static_cast<std::size_t>(index)];
        if (known < 0) known = sink.AddFormat(lineFormats_[static_cast<std::size_t>(index)]);
        return static_cast<std::uint32_t>(known);
    };
    std::string bytes;
    const auto append = [&](int start, int end, std::uint32_t format) {
        bytes.clear();
        AppendLineBytes(bytes, QStringView(raw).mid(start, end - start));
        sink.AppendText(bytes, format);
    };

    QTextBlock block = document.findBlock(from);
    const int blocks = std::max(1, document.findBlock(to).blockNumber() - block.blockNumber() + 1);
    sink.Reserve(static_cast<std::size_t>(blocks), static_cast<std::size_t>(to - from), static_cast<std::size_t>(blocks));
    int position = block.position();
    for (bool first = true; block.isValid(); first = false) {
        const int length = block.length();  // with its paragraph separator
        if (!first && position > to) break;
        if (wholeLines && length <= 1 && !block.next().isValid()) break;  // the empty last paragraph
        sink.AddLine();
        const int textEnd = position + length - 1;
        const int a = std::max(position, from);
        const int b = std::min(textEnd, to);
        if (a < b) {
            const int state = block.userState();
            if (state >= 0 && static_cast<std::size_t>(state) < lineFormats_.size()) {
                append(a, b, lineFormatOf(state));
            } else {
                int fragmentStart = position;
                for (QTextBlock::iterator it = block.begin(); !it.atEnd() && fragmentStart < b; ++it) {
                    const QTextFragment fragment = it.fragment();
                    const int fragmentEnd = fragmentStart + fragment.length();
                    if (fragmentEnd > a) append(std::max(fragmentStart, a), std::min(fragmentEnd, b),
                                                formatOf(fragment.charFormatIndex()));
                    fragmentStart = fragmentEnd;
                }
            }
        }
        if (textEnd >= to) break;
        position += length;
        block = block.next();
    }
    if (!cached) {
        rawText_ = QString();
        rawTextValid_ = false;
    }
}

void QtProtocolField::ReadLines(FieldLineSink& sink) {
    Flush();
    ReadRange(sink, 0, edit_.document()->characterCount() - 1, true);
}

void QtProtocolField::ReadSelectedLines(FieldLineSink& sink) {
    Flush();
    const QTextCursor cursor = edit_.textCursor();
    ReadRange(sink, cursor.selectionStart(), cursor.selectionEnd(), false);
}

void QtProtocolField::InsertLines(QTextCursor& cursor, const FieldLineSource& lines, bool endLastLine) {
    std::vector<std::optional<QTextCharFormat>> formats(lines.FormatCount());
    const auto formatOf = [&](std::uint32_t index) -> const QTextCharFormat& {
        std::optional<QTextCharFormat>& format = formats[index];
        if (!format) format = CharFormat(lines.Format(index));
        return *format;
    };
    // Text of one format goes in with one insertion; the cursor makes a new
    // paragraph at every '\n'.
    constexpr qsizetype kChunk = 1 << 20;
    QString pending;
    std::int64_t pendingFormat = -1;
    const auto insertPending = [&] {
        if (pending.isEmpty()) return;
        if (pendingFormat >= 0) cursor.insertText(pending, formatOf(static_cast<std::uint32_t>(pendingFormat)));
        else cursor.insertText(pending);
        pending.clear();
    };
    const std::size_t count = lines.LineCount();
    for (std::size_t line = 0; line < count; ++line) {
        const std::size_t runs = lines.RunCount(line);
        for (std::size_t run = 0; run < runs; ++run) {
            const TextRun piece = lines.Run(line, run);
            if (piece.Format != pendingFormat) {
                insertPending();
                pendingFormat = piece.Format;
            }
            AppendLineText(pending, piece.Text);
        }
        if (line + 1 < count || endLastLine) pending += QChar('\n');
        if (pending.size() >= kChunk) insertPending();
    }
    insertPending();
}

bool QtProtocolField::LoadLines(const FieldLineSource& lines) {
    const auto lineCount = static_cast<qsizetype>(lines.LineCount());
    const auto characters = static_cast<qsizetype>(lines.TextSize()) + lineCount + 1;
    if (lineCount > maxLines_ || characters > maxCharacters_) return false;
    Clear();
    QTextDocument& document = *edit_.document();
    QTextCursor cursor(&document);
    {
        const ProgramEdit edit(document, programEdit_);
        cursor.beginEditBlock();
        InsertLines(cursor, lines, true);
        cursor.endEditBlock();
        // Lines of one run carry their format as the paragraph's state.
        std::vector<int> lineFormat(lines.FormatCount(), -1);
        QTextBlock block = document.firstBlock();
        for (std::size_t line = 0; line < lines.LineCount() && block.isValid(); ++line, block = block.next()) {
            if (lines.RunCount(line) != 1) continue;
            const std::uint32_t format = lines.Run(line, 0).Format;
            if (lineFormat[format] < 0) lineFormat[format] = LineFormatIndex(lines.Format(format));
            block.setUserState(lineFormat[format]);
        }
    }
    cursor.setPosition(0);
    edit_.setTextCursor(cursor);
    typingFormatDirty_ = true;
    ApplyTypingFormat();
    return true;
}

QString QtProtocolField::PlainText(int from, int to) {
    QString text = RawText().mid(from, to - from);
    text.replace(QChar::ParagraphSeparator, QChar('\n'));
    return text;
}

void QtProtocolField::CopySelection(std::function<std::string()> makeRtf) {
    Flush();
    const QTextCursor cursor = edit_.textCursor();
    auto* data = new CopiedMimeData(std::move(makeRtf));
    data->setText(PlainText(cursor.selectionStart(), cursor.selectionEnd()));
    QGuiApplication::clipboard()->setMimeData(data);
    clipboardHasText_ = true;
}

bool QtProtocolField::ClipboardHasText() {
    if (!clipboardHasText_) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        bool has = data && data->hasText();
        for (const char* type : kRtfMimeTypes) has = has || (data && data->hasFormat(type));
        clipboardHasText_ = has;
    }
    return *clipboardHasText_;
}

ClipboardContent QtProtocolField::Clipboard() {
    ClipboardContent content;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return content;
    if (data->hasText()) {
        content.HasText = true;
        AppendLineBytes(content.Text, data->text());
    }
    for (const char* type : kRtfMimeTypes) {
        if (!data->hasFormat(type)) continue;
        const QByteArray rtf = data->data(type);
        content.HasRtf = true;
        content.Rtf.assign(rtf.constData(), static_cast<std::size_t>(rtf.size()));
        break;
    }
    return content;
}

std::optional<QtProtocolField::EditKey> QtProtocolField::EditKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    // The menu's own keys first: Shift+Del deletes here, where the widget cuts.
    if (event.key() == Qt::Key_Delete && modifiers == Qt::ShiftModifier) return EditKey::Delete;
    if (event.key() == Qt::Key_Backspace && modifiers == Qt::AltModifier) return EditKey::Undo;
    if (event.matches(QKeySequence::Undo)) return EditKey::Undo;
    if (event.matches(QKeySequence::Copy)) return EditKey::Copy;
    if (event.matches(QKeySequence::Cut)) return EditKey::Cut;
    if (event.matches(QKeySequence::Paste)) return EditKey::Paste;
    if (event.matches(QKeySequence::SelectAll)) return EditKey::SelectAll;
    return std::nullopt;
}

}  // namespace kestrum
