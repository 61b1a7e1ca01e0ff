#include "platform/qt/qt_protocol_field.h"

#include <QEvent>
#include <QFont>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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

int CommittedLines(const QTextDocument& document) {
    const int blocks = document.blockCount();
    return document.lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QFont FontOf(const TextAttributes& attributes) {
    return FontOfEntry(attributes.FontName, attributes.FontSize, attributes.Style);
}

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
        formats_.push_back({attributes_, CharFormat(attributes_)});
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
    // The program's own lines are not edits the user can undo; keeping them
    // in the undo history would also cost memory on every line.
    const bool undo = document.isUndoRedoEnabled();
    if (undo) document.setUndoRedoEnabled(false);

    QTextCursor cursor(&document);
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
    if (undo) document.setUndoRedoEnabled(true);

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

bool QtProtocolField::eventFilter(QObject* watched, QEvent* event) {
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

}  // namespace kestrum
