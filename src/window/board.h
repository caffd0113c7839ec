// The window's own surface under the controls. It shows the shaded
// background of the current question, painted from its tint whenever the
// surface is uncovered, or its plain background colour. Smaller than its
// design, it shrinks all its controls by one factor so that every one stays
// in sight.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace numerella {

class Board : public QWidget {
    Q_OBJECT
public:
    explicit Board(QWidget* parent = nullptr);

    static constexpr QSize kDesignSize{792, 554};  // in logical pixels
    // Takes the controls as they are as the design that every resize scales.
    void keepDesign();
    double scale() const { return scale_; }  // 1 at the design size or larger

    // Shades the whole board in the given tint.
    void shade(std::int16_t tono);

    // A new background colour wipes the shading: the board shows the colour
    // alone until it is shaded again.
    void setBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<std::tuple<QWidget*, QRect, QFont, QSize>> design_;  // place, font, picture size
    double scale_ = 1.0;
    QColor backColor_;
    std::int16_t tono_ = 0;
    bool shaded_ = false;
};

} // namespace numerella
