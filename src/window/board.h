// The window's own surface under the controls. It shows the shaded
// background of the current question, painted from its tint whenever the
// surface is uncovered, or its plain background colour.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace numerella {

class Board : public QWidget {
    Q_OBJECT
public:
    explicit Board(QWidget* parent = nullptr);

    // Shades the whole board in the given tint.
    void shade(std::int16_t tono);
    bool isShaded() const { return shaded_; }

    // A new background colour wipes the shading: the board shows the colour
    // alone until it is shaded again.
    void setBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor backColor_;
    std::int16_t tono_ = 0;
    bool shaded_ = false;
};

} // namespace numerella
