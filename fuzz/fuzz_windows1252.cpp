// The record files' code page on any bytes and any text: bytes read and
// written back are the same bytes; a text written out takes one byte per
// character (one "?" for a surrogate pair), keeps what the code page holds
// and puts "?" for the rest.
#include "fuzz_support.h"

#include "platform/windows1252.h"

using namespace numerella;
using namespace numerella::fuzz;

namespace {

void checkBytes(const QByteArray& bytes)
{
    const QString text = fromWindows1252(bytes);
    FUZZ_CHECK(text.size() == bytes.size(), text);
    FUZZ_CHECK(toWindows1252(text) == bytes, text);
}

void checkText(const QString& text)
{
    const QByteArray bytes = toWindows1252(text);
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    FUZZ_CHECK(bytes.size() == text.size() - pairs, text);

    // Read back, each character is itself or "?".
    const QString back = fromWindows1252(bytes);
    qsizetype j = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++j) {
        const QChar c = text[i];
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair) {
            FUZZ_CHECK(back[j] == u'?', text);
            ++i;
            continue;
        }
        FUZZ_CHECK(back[j] == c || back[j] == u'?', text);
        // Latin-1 outside the C1 block and ASCII are the code page itself.
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            FUZZ_CHECK(static_cast<unsigned char>(bytes[j]) == u, text);
    }
    FUZZ_CHECK(j == bytes.size(), text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    checkText(utf16Text(data, size));
    checkText(latin1Text(data, size));
    return 0;
}
