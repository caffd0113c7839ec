#include "datafolder.h"

#include <QtGlobal>

namespace numerella {

namespace {

// Python's "surrogateescape": byte b (0x80 and up) as U+DC00 + b.
constexpr char16_t kEscapeBase = 0xDC00;

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that
// starts none.
qsizetype sequenceLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
}

} // namespace

QString decodePath(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = sequenceLength(lead);
        // Qt's check refuses overlong forms, surrogates and values past U+10FFFF.
        if (length > 0 && i + length <= bytes.size() && bytes.sliced(i, length).isValidUtf8()) {
            text.append(QString::fromUtf8(bytes.sliced(i, length)));
            i += length;
        } else {
            text.append(QChar(char16_t(kEscapeBase + lead)));
            ++i;
        }
    }
    return text;
}

QByteArray encodePath(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype plain = 0;  // start of the run not yet encoded
    const auto flush = [&](qsizetype end) { bytes.append(path.mid(plain, end - plain).toUtf8()); };
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
