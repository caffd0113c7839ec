#include "windows1252.h"

#include <algorithm>
#include <array>

namespace numerella {

namespace {

// Bytes 0x80..0x9F; the other bytes are the same as Latin-1. Zero marks the
// bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeOne(char16_t c)
{
    // The undefined bytes read as the control characters of the same value;
    // writing them back gives the same bytes, so nothing changes on a save.
    if (c < 0x80 || (c <= 0xFF && (c >= 0xA0 || kHighControls[c - 0x80] == 0)))
        return static_cast<char>(c);
    const auto* found = std::find(kHighControls.begin(), kHighControls.end(), c);
    return found == kHighControls.end() ? '?' : static_cast<char>(0x80 + (found - kHighControls.begin()));
}

} // namespace

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        bytes.append(pair ? '?' : encodeOne(text[i].unicode()));
        i += pair ? 1 : 0;
    }
    return bytes;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool mapped = b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0;
        out[i] = QChar(mapped ? kHighControls[b - 0x80] : char16_t(b));
    }
    return text;
}

} // namespace numerella
