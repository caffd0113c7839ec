// The game's desktop services on Qt.
#pragma once

#include "eventsound.h"
#include "platform.h"
#include "randomgenerator.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace numerella {

class QtPlatform final : public Platform {
public:
    // Boxes are modal to this window while it is visible; before it is
    // shown they stand alone on the desktop.
    void setDialogParent(QWidget* window) { parent_ = window; }

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override;
    QString inputBox(const QString& prompt) override;
    void playSound(const QString& path) override { playEventSound(path); }
    QByteArray recordFolder() override;
    QString programFolder() override { return QCoreApplication::applicationDirPath(); }
    void endProgram() override { QCoreApplication::exit(0); }
    float nextRandom() override { return random_.next(); }
    void reseedRandomFromClock() override { random_.reseedFromClock(); }
    QString shortDate() override;

private:
    QWidget* visibleParent() const { return parent_ && parent_->isVisible() ? parent_.data() : nullptr; }

    QPointer<QWidget> parent_;
    RandomGenerator random_;
};

} // namespace numerella
