#include "numberscan.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string>

namespace numerella {

double scanNumber(std::string_view text, bool* alone)
{
    std::string s;
    std::copy_if(text.begin(), text.end(), std::back_inserter(s),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    const auto digitsFrom = [&](std::size_t i) {
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i;
    };
    const std::size_t start = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0, whole = digitsFrom(start);
    std::size_t end = whole < s.size() && s[whole] == '.' ? digitsFrom(whole + 1) : whole;
    if (end - start == (end > whole ? 1u : 0u)) {  // no digit: a lone "." is no number
        if (alone)
            *alone = false;
        return 0.0;
    }
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        const std::size_t digits = end + (end + 1 < s.size() && (s[end + 1] == '+' || s[end + 1] == '-') ? 2 : 1);
        end = digitsFrom(digits) > digits ? digitsFrom(digits) : end;
    }
    if (alone)
        *alone = end == s.size();
    s.resize(end);
    // Read with a "." whatever the user's locale: the game runs under one.
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t());
    errno = 0;
    const double value = ::strtod_l(s.c_str(), nullptr, c);
    return errno == ERANGE && value == 0.0 ? 0.0 : value;  // too small is zero, never minus zero
}

} // namespace numerella
