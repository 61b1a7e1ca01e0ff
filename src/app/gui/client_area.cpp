#include "app/gui/client_area.h"

#include <algorithm>

namespace kestrum {

ClientArea::ClientArea(QWidget* field, QWidget* buttonRow, QWidget* parent)
    : QWidget(parent), field_(field), buttonRow_(buttonRow) {
    field_->setParent(this);
    buttonRow_->setParent(this);
    Arrange();
}

int ClientArea::ButtonRowTop() const { return height() - buttonRow_->height(); }

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
    emit Resized();
}

void ClientArea::Arrange() {
    const int buttonHeight = buttonRow_->height();
    field_->setGeometry(0, 0, width(), std::max(0, height() - buttonHeight - 2));
    buttonRow_->setGeometry(0, ButtonRowTop(), width(), buttonHeight);
}

}  // namespace kestrum
