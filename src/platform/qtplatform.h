// The game's desktop services on Qt.
#pragma once

#include "platform.h"
#include "randomgenerator.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace numerella {

class QtPlatform final : public Platform {
public:
    // Boxes are modal to this window while it is visible; before it is
    // shown they stand alone on the desktop.
    void setDialogParent(QWidget* window);

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override;
    QString inputBox(const QString& prompt) override;
    void playSound(const QString& path) override;
    QByteArray recordFolder() override;
    QString programFolder() override;
    void endProgram() override;
    float nextRandom() override;
    void reseedRandomFromClock() override;
    QString shortDate() override;

private:
    QWidget* visibleParent() const;

    QPointer<QWidget> parent_;
    RandomGenerator random_;
};

} // namespace numerella
