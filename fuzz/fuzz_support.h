// What every fuzz target shares: turning the fuzzer's bytes into texts, and
// a check that stops the run with a readable reason.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace numerella::fuzz {

// The bytes read as UTF-16 (each pair of bytes, low byte first, is one code
// unit; an odd last byte is dropped), so any code unit can turn up, lone
// surrogates included.
inline QString utf16Text(const std::uint8_t* data, std::size_t size)
{
    QString text;
    text.reserve(qsizetype(size / 2));
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    return text;
}

// The bytes read one character each (Latin-1): mostly ASCII-like texts,
// which is where numbers are.
inline QString latin1Text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A copy of the text in a buffer of exactly its size, without the slack and
// the terminating zero a QString has, so that AddressSanitizer catches any
// read past its end.
class ExactCopy {
public:
    explicit ExactCopy(QStringView text)
        : size_(text.size())
        , data_(new char16_t[std::size_t(text.size())])
    {
        std::copy(text.utf16(), text.utf16() + text.size(), data_.get());
    }
    QStringView view() const { return QStringView(data_.get(), size_); }

private:
    qsizetype size_;
    std::unique_ptr<char16_t[]> data_;
};

// Reports the failed check and the text it failed on (its first code units,
// in hex), then aborts so the fuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const QString& text)
{
    std::fprintf(stderr, "fuzz check failed: %s\n  text of %lld code units:", what, static_cast<long long>(text.size()));
    for (qsizetype i = 0; i < text.size() && i < 200; ++i)
        std::fprintf(stderr, " %04X", static_cast<unsigned>(text[i].unicode()));
    std::fprintf(stderr, "%s\n", text.size() > 200 ? " ..." : "");
    std::abort();
}

#define FUZZ_CHECK(condition, text)                      \
    do {                                                 \
        if (!(condition))                                \
            ::numerella::fuzz::fail(#condition, (text)); \
    } while (false)

} // namespace numerella::fuzz
