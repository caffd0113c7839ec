// A push button with a coloured face that shows its picture centred above
// its caption. The icon's Disabled and Selected pictures, when it has them,
// show while the button is disabled or held down.
#pragma once

#include <QPushButton>

namespace numerella {

class GraphicalButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor face READ face WRITE setFace)
public:
    explicit GraphicalButton(QWidget* parent = nullptr);

    void setFace(const QColor& face);
    QColor face() const { return face_; }

    // The picture the button shows in its present state.
    QPixmap currentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
};

} // namespace numerella
