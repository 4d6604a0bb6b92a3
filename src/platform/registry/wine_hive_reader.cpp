#include "platform/registry/wine_hive_reader.h"

#include "platform/registry/hive_text.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "text/text_order.h"

#include <QFile>
#include <bit>
#include <cstring>
#include <string>

static_assert(std::endian::native == std::endian::little, "value data are stored little-endian");

namespace vantor::registry {

namespace {

const char Header[] = "WINE REGISTRY Version 2";

// One UTF-8 sequence at `p` (a byte >= 0x80) written to `d`; a broken one becomes U+FFFD and
// costs one byte. Never writes more units than it consumes bytes.
void decodeUtf8(const char*& p, const char* end, char16_t*& d) {
    const auto b0 = static_cast<unsigned char>(*p);
    int more = 0;
    char32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        more = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        more = 2;
        cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        more = 3;
        cp = b0 & 0x07;
    }
    bool ok = more > 0 && end - p > more;
    for (int i = 1; ok && i <= more; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        ok = (b & 0xC0) == 0x80;
        cp = (cp << 6) | (b & 0x3F);
    }
    const char32_t minimum = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
    if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        *d++ = u'\uFFFD';
        ++p;
        return;
    }
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *d++ = char16_t(0xD800 + (cp >> 10));
        *d++ = char16_t(0xDC00 + (cp & 0x3FF));
    } else {
        *d++ = char16_t(cp);
    }
    p += more + 1;
}

// Decodes escaped text up to the unescaped `quote` (consumed); false when the line ends first.
// Every escape and UTF-8 sequence is at least as long as what it stands for, so the output
// never outgrows the input.
bool unescape(const char*& p, const char* lineEnd, char quote, std::u16string& out) {
    out.resize(std::size_t(lineEnd - p));
    char16_t* const begin = out.data();
    char16_t* d = begin;
    bool closed = false;
    while (p < lineEnd) {
        const char c = *p;
        if (c == quote) {
            ++p;
            closed = true;
            break;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            decodeUtf8(p, lineEnd, d);
            continue;
        }
        ++p;
        if (c != '\\') {
            *d++ = char16_t(c);
            continue;
        }
        if (p == lineEnd) {
            *d++ = u'\\';
            break;
        }
        const char e = *p;
        switch (e) {
        case 'a':
            *d++ = 7;
            ++p;
            break;
        case 'b':
            *d++ = 8;
            ++p;
            break;
        case 'e':
            *d++ = 27;
            ++p;
            break;
        case 'f':
            *d++ = 12;
            ++p;
            break;
        case 'n':
            *d++ = 10;
            ++p;
            break;
        case 'r':
            *d++ = 13;
            ++p;
            break;
        case 't':
            *d++ = 9;
            ++p;
            break;
        case 'v':
            *d++ = 11;
            ++p;
            break;
        case 'x': {
            ++p;
            unsigned long long unit = 0;
            *d++ = parseHexNumber(p, lineEnd, 4, unit) ? char16_t(unit) : u'x';
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned unit = 0;
                for (int i = 0; i < 3 && p < lineEnd && *p >= '0' && *p <= '7'; ++i, ++p)
                    unit = unit * 8 + unsigned(*p - '0');
                *d++ = char16_t(unit);
            } else if (static_cast<unsigned char>(e) < 0x80) {
                *d++ = char16_t(e);
                ++p;
            }
            // A byte >= 0x80 after the backslash is decoded as UTF-8 by the main loop.
            break;
        }
    }
    out.resize(std::size_t(d - begin));
    return closed;
}

bool startsWith(const char* p, const char* end, const char* literal, std::size_t n) {
    return std::size_t(end - p) >= n && std::memcmp(p, literal, n) == 0;
}

class Reader {
public:
    Reader(QByteArrayView text, const QString& fileName, Hive& hive, Key* base, ParseIssues& issues)
        : p_(text.data()), end_(text.data() + text.size()), file_(fileName), hive_(hive),
          issues_(issues) {
        chain_.push_back(base);
    }

    void run() {
        readHeader();
        while (p_ < end_) {
            ++line_;
            const char* eol =
                static_cast<const char*>(std::memchr(p_, '\n', std::size_t(end_ - p_)));
            if (!eol)
                eol = end_;
            const char* lineEnd = eol;
            if (lineEnd > p_ && lineEnd[-1] == '\r')
                --lineEnd;
            const char* next = eol < end_ ? eol + 1 : end_;
            if (p_ < lineEnd) {
                switch (*p_) {
                case '[':
                    keyLine(lineEnd);
                    break;
                case '@':
                case '"':
                    next = valueLine(lineEnd, next);
                    break;
                case '#':
                    optionLine(lineEnd);
                    break;
                case ';':
                    break;
                default:
                    if (!blankOnly(p_, lineEnd))
                        issue(QStringLiteral("unrecognised line"));
                    break;
                }
            }
            p_ = next;
        }
    }

private:
    static bool blankOnly(const char* p, const char* end) {
        for (; p < end; ++p) {
            if (!isBlank(*p))
                return false;
        }
        return true;
    }

    void readHeader() {
        const std::size_t n = sizeof(Header) - 1;
        const char* p = p_;
        if (startsWith(p, end_, "\xEF\xBB\xBF", 3))
            p += 3;
        if (!startsWith(p, end_, Header, n))
            throw Error(Error::InvalidCall, QStringLiteral("Registry"),
                        file_ + QStringLiteral(" is not a Wine registry file"));
        p += n;
        while (p < end_ && isBlank(*p))
            ++p;
        if (p < end_ && *p == '\r')
            ++p;
        if (p < end_ && *p != '\n')
            throw Error(Error::InvalidCall, QStringLiteral("Registry"),
                        file_ + QStringLiteral(" is not a Wine registry file"));
        p_ = p < end_ ? p + 1 : end_;
        line_ = 1;
    }

    void issue(const QString& reason) { issues_.push_back({file_, line_, reason}); }

    void keyLine(const char* lineEnd) {
        current_ = nullptr;
        const char* p = p_ + 1;
        if (!unescape(p, lineEnd, ']', text_)) {
            issue(QStringLiteral("key line without closing bracket"));
            return;
        }
        std::size_t depth = 0;
        std::size_t start = 0;
        const std::size_t size = text_.size();
        while (start <= size) {
            std::size_t stop = text_.find(u'\\', start);
            if (stop == std::u16string::npos)
                stop = size;
            if (stop > start) {
                const QStringView name(text_.data() + start, qsizetype(stop - start));
                ++depth;
                if (depth < chain_.size() && equalsText(chain_[depth]->name(), name)) {
                    // same key as on the previous key line
                } else {
                    chain_.resize(depth);
                    chain_.push_back(hive_.addSubkey(chain_[depth - 1], name));
                }
            }
            start = stop + 1;
        }
        if (depth == 0) {
            issue(QStringLiteral("empty key path"));
            return;
        }
        chain_.resize(depth + 1);
        current_ = chain_[depth];
    }

    void optionLine(const char* lineEnd) {
        if (current_ && startsWith(p_, lineEnd, "#link", 5) && blankOnly(p_ + 5, lineEnd))
            hive_.setLink(current_, true);
        // #time, #class and file options such as #arch carry nothing the store keeps.
    }

    // Returns where the next line starts (later than `next` when a hex list continued).
    const char* valueLine(const char* lineEnd, const char* next) {
        const char* p = p_;
        name_.clear();
        bool ok = true;
        if (*p == '@') {
            ++p;
        } else {
            ++p;
            ok = unescape(p, lineEnd, '"', name_);
        }
        if (!ok || p == lineEnd || *p != '=') {
            issue(QStringLiteral("value name not followed by '='"));
            return next;
        }
        ++p;
        std::uint32_t type = RegSz;
        QString error;
        int extraLines = 0;
        if (startsWith(p, lineEnd, "\"", 1) || startsWith(p, lineEnd, "str(", 4)) {
            if (*p == 's') {
                p += 4;
                unsigned long long n = 0;
                if (!parseHexNumber(p, lineEnd, 8, n) || !startsWith(p, lineEnd, "):\"", 3)) {
                    issue(QStringLiteral("bad string type"));
                    return next;
                }
                type = std::uint32_t(n);
                p += 2;
            }
            ++p;
            if (!unescape(p, lineEnd, '"', text_)) {
                issue(QStringLiteral("string without closing quote"));
                return next;
            }
            text_.push_back(u'\0');
            bytes_.resize(text_.size() * 2);
            std::memcpy(bytes_.data(), text_.data(), bytes_.size());
        } else if (startsWith(p, lineEnd, "dword:", 6)) {
            p += 6;
            unsigned long long n = 0;
            if (!parseHexNumber(p, lineEnd, 8, n)) {
                issue(QStringLiteral("bad dword"));
                return next;
            }
            type = RegDword;
            const auto v = std::uint32_t(n);
            bytes_.resize(4);
            std::memcpy(bytes_.data(), &v, 4);
        } else if (startsWith(p, lineEnd, "hex", 3)) {
            p += 3;
            type = RegBinary;
            if (startsWith(p, lineEnd, "(", 1)) {
                ++p;
                unsigned long long n = 0;
                if (!parseHexNumber(p, lineEnd, 8, n) || !startsWith(p, lineEnd, ")", 1)) {
                    issue(QStringLiteral("bad hex type"));
                    return next;
                }
                type = std::uint32_t(n);
                ++p;
            }
            if (!startsWith(p, lineEnd, ":", 1)) {
                issue(QStringLiteral("bad value data"));
                return next;
            }
            ++p;
            const char* q = p;
            if (!parseHexList(q, end_, bytes_, extraLines)) {
                issue(QStringLiteral("bad hex list"));
                line_ += extraLines;
                return skipContinuation(q);
            }
            line_ += extraLines;
            p = q;
            lineEnd = p;
            next = p;
            if (next < end_ && *next == '\r')
                ++next;
            if (next < end_ && *next == '\n')
                ++next;
        } else {
            issue(QStringLiteral("bad value data"));
            return next;
        }
        if (!blankOnly(p, lineEnd)) {
            issue(QStringLiteral("unexpected text after the value"));
            return next;
        }
        if (!current_) {
            issue(QStringLiteral("value outside a key"));
            return next;
        }
        hive_.setValue(current_, QStringView(name_.data(), qsizetype(name_.size())), type,
                       QByteArrayView(bytes_.data(), qsizetype(bytes_.size())));
        return next;
    }

    // After a broken hex list: the rest of its continued lines goes with it.
    const char* skipContinuation(const char* p) {
        for (;;) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end_ - p)));
            if (!eol)
                return end_;
            const char* e = eol;
            if (e > p && e[-1] == '\r')
                --e;
            while (e > p && isBlank(e[-1]))
                --e;
            if (e == p || e[-1] != '\\')
                return eol + 1;
            p = eol + 1;
            ++line_;
        }
    }

    const char* p_;
    const char* end_;
    QString file_;
    Hive& hive_;
    ParseIssues& issues_;
    int line_ = 0;
    std::vector<Key*> chain_;
    Key* current_ = nullptr;
    std::u16string text_;
    std::u16string name_;
    std::vector<char> bytes_;
};

} // namespace

void readWineHive(QByteArrayView text, const QString& fileName, Hive& hive, Key* base,
                  ParseIssues& issues) {
    Reader(text, fileName, hive, base, issues).run();
}

void readWineHiveFile(const QString& path, Hive& hive, Key* base, ParseIssues& issues) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileNotFound, QStringLiteral("Registry"),
                    QStringLiteral("Cannot read ") + path + QStringLiteral(": ") +
                        file.errorString());
    const QByteArray text = file.readAll();
    readWineHive(text, path, hive, base, issues);
}

} // namespace vantor::registry
