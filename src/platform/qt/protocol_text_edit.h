#pragma once
// The text widget of the protocol field: a QPlainTextEdit whose selection
// is offered to other programs (the X11 primary selection, a drag) as plain
// text made only when a program asks for it. The widget's own offer would
// copy the whole selection into a second document and convert it to several
// formats every time the selection changes, which stalls the window for
// seconds on a large protocol.

#include <QPlainTextEdit>

namespace kestrum {

class ProtocolTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace kestrum
