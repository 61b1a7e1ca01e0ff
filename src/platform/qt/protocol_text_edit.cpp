#include "platform/qt/protocol_text_edit.h"

#include <QMimeData>
#include <QPointer>
#include <QTextCursor>

namespace kestrum {
namespace {

// Plain text of a range of the widget's document, read when asked for.
class LazySelectionData : public QMimeData {
public:
    LazySelectionData(const QPlainTextEdit& edit, int start, int end)
        : edit_(const_cast<QPlainTextEdit*>(&edit)), start_(start), end_(end) {}

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& type) const override { return type == QStringLiteral("text/plain"); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override {
        if (type != QStringLiteral("text/plain") || !edit_) return {};
        QTextDocument* document = edit_->document();
        const int last = document->characterCount() - 1;
        QTextCursor cursor(document);
        cursor.setPosition(std::min(start_, last));
        cursor.setPosition(std::min(end_, last), QTextCursor::KeepAnchor);
        QString text = cursor.selectedText();
        text.replace(QChar::ParagraphSeparator, QChar('\n'));
        return text;
    }

private:
    QPointer<QPlainTextEdit> edit_;
    int start_;
    int end_;
};

}  // namespace

QMimeData* ProtocolTextEdit::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    return new LazySelectionData(*this, cursor.selectionStart(), cursor.selectionEnd());
}

}  // namespace kestrum
