#pragma once

#include <vector>

namespace vantor::registry {

// Pieces of text syntax the hive and .reg readers share, over 8-bit or UTF-16 text.

template <typename Ch> int hexDigit(Ch c) {
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}

template <typename Ch> bool isBlank(Ch c) {
    return c == ' ' || c == '\t';
}

template <typename Ch> bool isLineEnd(const Ch* p, const Ch* end) {
    return p == end || *p == '\n' || *p == '\r';
}

// Up to `maxDigits` hex digits as a number; false when there is none.
template <typename Ch>
bool parseHexNumber(const Ch*& p, const Ch* end, int maxDigits, unsigned long long& out) {
    out = 0;
    int n = 0;
    while (p < end && n < maxDigits) {
        const int d = hexDigit(*p);
        if (d < 0)
            break;
        out = out * 16 + unsigned(d);
        ++p;
        ++n;
    }
    return n > 0;
}

// A comma-separated list of hex bytes starting at `p`. After a comma, a backslash at the end of
// the line continues the list on the next line (whose leading blanks are skipped); `lines`
// counts the lines so joined. Stops at the end of the logical line; false on anything else.
template <typename Ch>
bool parseHexList(const Ch*& p, const Ch* end, std::vector<char>& out, int& lines) {
    out.clear();
    while (p < end && isBlank(*p))
        ++p;
    while (!isLineEnd(p, end)) {
        const int hi = hexDigit(*p);
        if (hi < 0)
            return false;
        ++p;
        int value = hi;
        if (p < end) {
            const int lo = hexDigit(*p);
            if (lo >= 0) {
                value = hi * 16 + lo;
                ++p;
            }
        }
        out.push_back(char(value));
        while (p < end && isBlank(*p))
            ++p;
        if (isLineEnd(p, end))
            break;
        if (*p != ',')
            return false;
        ++p;
        while (p < end && isBlank(*p))
            ++p;
        if (p < end && *p == '\\') {
            ++p;
            while (p < end && isBlank(*p))
                ++p;
            if (p < end && *p == '\r')
                ++p;
            if (p == end || *p != '\n')
                return false;
            ++p;
            ++lines;
            while (p < end && isBlank(*p))
                ++p;
        }
    }
    return true;
}

} // namespace vantor::registry
