#include "document/gui/protocol_text_document.h"

#include <QTextCursor>

#include <vector>

#include "platform/qt/qt_protocol_field.h"
#include "platform/qt/qt_text.h"

namespace kestrum {

std::unique_ptr<QTextDocument> ProtocolTextDocument(const ProtocolDocument& protocol, const TextAttributes& defaults) {
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(QtProtocolField::CharFormat(defaults).font());
    std::vector<QTextCharFormat> formats;
    formats.reserve(protocol.FormatCount());
    for (FormatIndex i = 0; i < protocol.FormatCount(); ++i)
        formats.push_back(QtProtocolField::CharFormat(protocol.Format(i)));
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    for (std::size_t line = 0; line < protocol.LineCount(); ++line) {
        if (line > 0) cursor.insertBlock();
        for (std::size_t run = 0; run < protocol.RunCount(line); ++run) {
            const LineRun part = protocol.Run(line, run);
            cursor.insertText(Cp1252ToQString(part.Text), formats[part.Format]);
        }
    }
    cursor.endEditBlock();
    return document;
}

}  // namespace kestrum
