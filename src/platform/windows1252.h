// The Western Windows code page that the record files are stored in, so a
// record written on a Windows machine reads the same here and back.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace numerella {

// Every character the code page cannot hold becomes "?". Surrogate pairs
// (emoji and the like) become a single "?".
QByteArray toWindows1252(QStringView text);

// Every byte maps to one character; the five bytes the code page leaves
// undefined map to the control characters of the same value.
QString fromWindows1252(QByteArrayView bytes);

} // namespace numerella
