#include "app/gui/speed_button.h"

#include <QMouseEvent>

namespace kestrum {

SpeedButton::SpeedButton(int tag, QWidget* parent) : QToolButton(parent), tag_(tag) {
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void SpeedButton::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(tag_, event->button(), event->modifiers(), event->position().toPoint());
    QToolButton::mousePressEvent(event);
}

}  // namespace kestrum
