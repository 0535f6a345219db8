#pragma once
// A one-pixel outline along the four edges of its own rectangle, in one colour, drawn over the
// controls beneath it: the border of a frameless window. It takes no mouse events, so the
// controls under it work as if it were not there.

#include <QColor>
#include <QWidget>

class OutlineShape : public QWidget {
public:
    OutlineShape(QWidget* parent, const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};
