#include "sender/gui/tx_interval_key_filter.h"

#include <QKeyEvent>

#include "sender/sender_controls.h"

namespace kestrum {

bool TxIntervalKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        // Delete comes with the character 127 but types nothing.
        if (!text.isEmpty() && text != QString(QChar(0x7F))) {
            const QChar first = text.front();
            const bool accepted =
                text.size() == 1 && first.unicode() < 0x80 && EditTxTimeIntervalOnKeyPress(first.toLatin1());
            if (!accepted) return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kestrum
