// A caption on the board. It keeps the text exactly as the game set it
// (line ends included) and shows it as plain text; with automatic sizing it
// grows right and down from its fixed top-left corner, and fits its caption
// again when its font changes.
#pragma once

#include <QLabel>

namespace numerella {

class BoardLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(bool autoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(QString accessiblePrefix READ accessiblePrefix WRITE setAccessiblePrefix)
public:
    explicit BoardLabel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }

    // What a screen reader says before the caption, as "Risposte esatte: "
    // before a score; with none it reads the caption alone. As a name of its
    // own it also keeps each new caption from being announced.
    QString accessiblePrefix() const { return accessiblePrefix_; }
    void setAccessiblePrefix(const QString& prefix) { setAccessibleName(accessiblePrefix_ = prefix); }

    // The size an automatically sized label takes for a caption.
    QSize fittedSize(const QString& caption) const;

    // What the label draws for a caption: line ends become line breaks and
    // other control characters a visible replacement mark.
    static QString displayText(const QString& caption);

protected:
    void changeEvent(QEvent* event) override;

private:
    QString caption_;
    QString accessiblePrefix_;
    bool autoSize_ = false;
    bool fitted_ = false;  // sized by its caption, not the form
};

} // namespace numerella
