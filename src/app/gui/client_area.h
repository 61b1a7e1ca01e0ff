#pragma once
// The main window's client area: the protocol field on top, the button row
// on the bottom edge. The field keeps (0, 0) and the full width with the
// height of the client area less the button height and 2 pixels; the row
// stays on the bottom edge.

#include <QWidget>

namespace kestrum {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    ClientArea(QWidget* field, QWidget* buttonRow, QWidget* parent = nullptr);
    // ButtonRowTop: client height − button height.
    int ButtonRowTop() const;

signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();
    QWidget* field_;
    QWidget* buttonRow_;
};

}  // namespace kestrum
