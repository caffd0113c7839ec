// Where a login keeps the game's data, and file names as the system holds
// them: bytes that need not be valid UTF-8.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace numerella {

inline const QString kDataFolderName = QStringLiteral("numerella-del-dieci");

// A path's bytes as text: valid UTF-8 is decoded, every other byte becomes
// the lone surrogate U+DC80 + byte, so encodePath gives the same bytes back
// (Qt's own decoding turns such bytes into U+FFFD and names another file).
QString decodePath(QByteArrayView bytes);
QByteArray encodePath(QStringView path);

// The per-login record folder by the XDG base-directory rules:
// $XDG_DATA_HOME/numerella-del-dieci when that variable holds an absolute
// path, else $HOME/.local/share/numerella-del-dieci. Empty without a home.
// Takes the two variables' raw values (null when unset).
QString perLoginDataFolder(const QByteArray& xdgDataHome, const QByteArray& home);

// The same, from this process's environment.
QString perLoginDataFolder();

} // namespace numerella
