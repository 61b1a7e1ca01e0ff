#pragma once
// The interval edit's key press handler (EditTxTimeIntervalOnKeyPress): of
// the keys that type a character, only the digits and Backspace reach the
// edit; keys that type nothing (arrows, Delete) pass.

#include <QObject>

namespace kestrum {

class TxIntervalKeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kestrum
