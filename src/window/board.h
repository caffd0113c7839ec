// The window's own surface under the controls. It keeps a persistent
// picture, the shaded background, and repaints from it when uncovered;
// without one it shows its background colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

namespace numerella {

class Board : public QWidget {
    Q_OBJECT
public:
    explicit Board(QWidget* parent = nullptr);

    // Paints the shaded background in the given tint over the whole board.
    void shade(std::int16_t tono);
    bool isShaded() const { return !backing_.isNull(); }

    // A new background colour wipes the picture: the board shows the colour
    // alone until it is shaded again.
    void setBackColor(const QColor& colour);

    const QImage& backing() const { return backing_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage backing_;
    QColor backColor_;
    std::int16_t tono_ = 0;
};

} // namespace numerella
