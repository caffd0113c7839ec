// A push button with a coloured face that shows its picture centred above
// its black caption. The icon's Disabled and Selected pictures, when it has
// them, show while the button is disabled or held down.
//
// It paints itself, not through the style: the face is one flat colour inside
// a classic raised bevel (sunken while held down) and a dotted ring marks the
// focus, so neither a style's gradients nor a dark desktop palette change how
// the board looks.
#pragma once

#include <QIcon>
#include <QPushButton>

namespace numerella {

class GraphicalButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor face READ face WRITE setFace)
public:
    explicit GraphicalButton(QWidget* parent = nullptr);

    void setFace(const QColor& face);
    QColor face() const { return face_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
};

} // namespace numerella
