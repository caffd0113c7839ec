#include "datafolder.h"

#include <QtGlobal>

namespace numerella {

namespace {

// Python's "surrogateescape": byte b (0x80 and up) as U+DC00 + b.
constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF are not valid).
qsizetype utf8Length(QByteArrayView bytes, qsizetype i, char32_t& value)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    qsizetype length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        value = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (at(i + k) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString decodePath(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t value = 0;
        const qsizetype length = utf8Length(bytes, i, value);
        if (length == 0) {
            text.append(QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        text.append(QString::fromUcs4(&value, 1));
        i += length;
    }
    return text;
}

QByteArray encodePath(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype plain = 0;  // start of the run not yet encoded
    const auto flush = [&](qsizetype end) {
        bytes.append(path.mid(plain, end - plain).toUtf8());
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        const bool pairedLow = i > 0 && path[i - 1].isHighSurrogate();
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && !pairedLow) {
            flush(i);
            bytes.append(char(c - kEscapeBase));
            plain = i + 1;
        }
    }
    flush(path.size());
    return bytes;
}

QString perLoginDataFolder(const QByteArray& xdgDataHome, const QByteArray& home)
{
    // A relative value is to be ignored, not read from the current folder.
    if (xdgDataHome.startsWith('/'))
        return decodePath(xdgDataHome) + u'/' + kDataFolderName;
    if (!home.startsWith('/'))
        return QString();
    return decodePath(home) + QStringLiteral("/.local/share/") + kDataFolderName;
}

QString perLoginDataFolder()
{
    return perLoginDataFolder(qgetenv("XDG_DATA_HOME"), qgetenv("HOME"));
}

} // namespace numerella
