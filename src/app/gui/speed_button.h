#pragma once
// A flat tool button of the window's button row that also reports every
// mouse press (any button, with the keys held) before it acts on it.

#include <QToolButton>

namespace kestrum {

class SpeedButton : public QToolButton {
    Q_OBJECT
public:
    SpeedButton(int tag, QWidget* parent);
    int Tag() const { return tag_; }

signals:
    void MouseDown(int tag, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int tag_;
};

}  // namespace kestrum
