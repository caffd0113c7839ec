// Where a login keeps the game's data, by the XDG base-directory rules.
#pragma once

#include <QByteArray>

namespace numerella {

// $XDG_DATA_HOME/numerella-del-dieci when that variable holds an absolute
// path, else $HOME/.local/share/numerella-del-dieci; empty without a home.
// Bytes as the environment holds them, so the folder made is the one opened.
QByteArray perLoginDataFolder(const QByteArray& xdgDataHome, const QByteArray& home);
QByteArray perLoginDataFolder();

} // namespace numerella
