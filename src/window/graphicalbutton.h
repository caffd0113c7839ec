// A push button with a coloured face that shows its picture centred above
// its caption, and other pictures while disabled or held down.
#pragma once

#include <QIcon>
#include <QPushButton>

namespace numerella {

class GraphicalButton : public QPushButton {
    Q_OBJECT
public:
    explicit GraphicalButton(QWidget* parent = nullptr);

    void setFace(const QColor& face);
    QColor face() const { return face_; }
    void setPictures(const QIcon& normal, const QIcon& disabled, const QIcon& down);

    // The picture the button shows in its present state.
    QPixmap currentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
    QIcon normal_;
    QIcon disabled_;
    QIcon down_;
};

} // namespace numerella
