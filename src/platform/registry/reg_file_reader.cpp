#include "platform/registry/reg_file_reader.h"

#include "platform/registry/hive_text.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "text/win1252.h"

#include <QFile>
#include <QStringList>
#include <cstring>

namespace vantor::registry {

namespace {

const QString Regedit4 = QStringLiteral("REGEDIT4");
const QString Regedit5 = QStringLiteral("Windows Registry Editor Version 5.00");

using Ch = char16_t;

// The root names a .reg file may use, spelled in full.
const QStringList& regRootNames() {
    static const QStringList names = {
        QStringLiteral("HKEY_LOCAL_MACHINE"),  QStringLiteral("HKEY_CURRENT_USER"),
        QStringLiteral("HKEY_CLASSES_ROOT"),   QStringLiteral("HKEY_USERS"),
        QStringLiteral("HKEY_CURRENT_CONFIG"), QStringLiteral("HKEY_DYN_DATA"),
    };
    return names;
}

bool startsWith(const Ch* p, const Ch* end, QStringView literal) {
    return end - p >= literal.size() &&
           std::memcmp(p, literal.utf16(), std::size_t(literal.size()) * 2) == 0;
}

bool blankOnly(const Ch* p, const Ch* end) {
    for (; p < end; ++p) {
        if (!isBlank(*p))
            return false;
    }
    return true;
}

class Reader {
public:
    Reader(const QString& text, bool ansiStrings, const QString& fileName, Hive& hive,
           ParseIssues& issues)
        : p_(reinterpret_cast<const Ch*>(text.utf16())), end_(p_ + text.size()),
          ansiStrings_(ansiStrings), file_(fileName), hive_(hive), issues_(issues) {}

    // `bodyStart`: just past the header line.
    void run(qsizetype bodyStart) {
        p_ += bodyStart;
        line_ = 1;
        while (p_ < end_) {
            ++line_;
            const Ch* eol = p_;
            while (eol < end_ && *eol != '\n')
                ++eol;
            const Ch* lineEnd = eol;
            if (lineEnd > p_ && lineEnd[-1] == '\r')
                --lineEnd;
            const Ch* next = eol < end_ ? eol + 1 : end_;
            const Ch* p = p_;
            while (p < lineEnd && isBlank(*p))
                ++p;
            if (p < lineEnd) {
                switch (*p) {
                case '[':
                    keyLine(p, lineEnd);
                    break;
                case '@':
                case '"':
                    next = valueLine(p, lineEnd, next);
                    break;
                case ';':
                    break;
                default:
                    issue(QStringLiteral("unrecognised line"));
                    break;
                }
            }
            p_ = next;
        }
    }

private:
    void issue(const QString& reason) { issues_.push_back({file_, line_, reason}); }

    void keyLine(const Ch* p, const Ch* lineEnd) {
        current_ = nullptr;
        while (lineEnd > p && isBlank(lineEnd[-1]))
            --lineEnd;
        if (lineEnd[-1] != ']' || lineEnd - p < 2) {
            issue(QStringLiteral("key line without closing bracket"));
            return;
        }
        ++p;
        --lineEnd;
        const bool remove = p < lineEnd && *p == '-';
        if (remove)
            ++p;
        const QStringView path(p, lineEnd - p);
        const qsizetype slash = path.indexOf(u'\\');
        const QStringView rootName = slash < 0 ? path : path.first(slash);
        const QStringView rest = slash < 0 ? QStringView() : path.sliced(slash + 1);
        Key* root = nullptr;
        for (const QString& name : regRootNames()) {
            if (rootName.compare(name, Qt::CaseInsensitive) == 0)
                root = hive_.addSubkey(hive_.root(), name);
        }
        if (!root) {
            issue(QStringLiteral("unknown root key"));
            return;
        }
        if (remove) {
            if (Key* key = hive_.find(root, rest); key && key != root)
                hive_.removeKey(key);
            return;
        }
        current_ = hive_.createPath(root, rest);
    }

    // A quoted string with the .reg escapes; false when the closing quote is missing.
    static bool readQuoted(const Ch*& p, const Ch* lineEnd, QString& out) {
        out.clear();
        ++p;
        while (p < lineEnd) {
            const Ch c = *p++;
            if (c == '"')
                return true;
            if (c == '\\' && p < lineEnd) {
                const Ch e = *p++;
                if (e == '\\' || e == '"')
                    out += QChar(e);
                else if (e == 'n')
                    out += u'\n';
                else {
                    out += u'\\';
                    out += QChar(e);
                }
                continue;
            }
            out += QChar(c);
        }
        return false;
    }

    const Ch* valueLine(const Ch* p, const Ch* lineEnd, const Ch* next) {
        name_.clear();
        if (*p == '@') {
            ++p;
        } else if (!readQuoted(p, lineEnd, name_)) {
            issue(QStringLiteral("value name without closing quote"));
            return next;
        }
        while (p < lineEnd && isBlank(*p))
            ++p;
        if (p == lineEnd || *p != '=') {
            issue(QStringLiteral("value name not followed by '='"));
            return next;
        }
        ++p;
        while (p < lineEnd && isBlank(*p))
            ++p;
        if (!current_) {
            issue(QStringLiteral("value outside a key"));
            return next;
        }
        std::uint32_t type = RegSz;
        if (p < lineEnd && *p == '-') {
            if (!blankOnly(p + 1, lineEnd)) {
                issue(QStringLiteral("unexpected text after the value"));
                return next;
            }
            hive_.removeValue(current_, name_);
            return next;
        }
        if (p < lineEnd && *p == '"') {
            if (!readQuoted(p, lineEnd, text_)) {
                issue(QStringLiteral("string without closing quote"));
                return next;
            }
            if (!blankOnly(p, lineEnd)) {
                issue(QStringLiteral("unexpected text after the value"));
                return next;
            }
            bytes_.resize(std::size_t(text_.size() + 1) * 2);
            std::memcpy(bytes_.data(), text_.utf16(), bytes_.size());
        } else if (startsWith(p, lineEnd, u"dword:")) {
            p += 6;
            unsigned long long n = 0;
            if (!parseHexNumber(p, lineEnd, 8, n) || !blankOnly(p, lineEnd)) {
                issue(QStringLiteral("bad dword"));
                return next;
            }
            type = RegDword;
            const auto v = std::uint32_t(n);
            bytes_.resize(4);
            std::memcpy(bytes_.data(), &v, 4);
        } else if (startsWith(p, lineEnd, u"hex")) {
            p += 3;
            type = RegBinary;
            if (p < lineEnd && *p == '(') {
                ++p;
                unsigned long long n = 0;
                if (!parseHexNumber(p, lineEnd, 8, n) || p == lineEnd || *p != ')') {
                    issue(QStringLiteral("bad hex type"));
                    return next;
                }
                ++p;
                type = std::uint32_t(n);
            }
            if (p == lineEnd || *p != ':') {
                issue(QStringLiteral("bad value data"));
                return next;
            }
            ++p;
            int extraLines = 0;
            const bool ok = parseHexList(p, end_, bytes_, extraLines);
            line_ += extraLines;
            next = nextLine(p);
            if (!ok) {
                issue(QStringLiteral("bad hex list"));
                // The rest of a broken list's continued lines goes with it.
                for (const Ch* e = next - 1; next < end_ && continued(p, e); e = next - 1) {
                    p = next;
                    next = nextLine(p);
                    ++line_;
                }
                return next;
            }
            if (ansiStrings_ && isStringType(type)) {
                const QString text =
                    win1252::decode(QByteArrayView(bytes_.data(), qsizetype(bytes_.size())));
                // An empty string leaves bytes_ empty, whose data() may be null: no copy then.
                bytes_.resize(std::size_t(text.size()) * 2);
                if (!bytes_.empty())
                    std::memcpy(bytes_.data(), text.utf16(), bytes_.size());
            }
        } else {
            issue(QStringLiteral("bad value data"));
            return next;
        }
        hive_.setValue(current_, name_, type,
                       QByteArrayView(bytes_.data(), qsizetype(bytes_.size())));
        return next;
    }

    const Ch* nextLine(const Ch* p) const {
        while (p < end_ && *p != '\n')
            ++p;
        return p < end_ ? p + 1 : end_;
    }

    // Whether the line from `p` to its end `e` ends in a continuation backslash.
    static bool continued(const Ch* p, const Ch* e) {
        while (e > p && (isBlank(e[-1]) || e[-1] == '\r' || e[-1] == '\n'))
            --e;
        return e > p && e[-1] == '\\';
    }

    const Ch* p_;
    const Ch* end_;
    bool ansiStrings_;
    QString file_;
    Hive& hive_;
    ParseIssues& issues_;
    int line_ = 0;
    Key* current_ = nullptr;
    QString name_;
    QString text_;
    std::vector<char> bytes_;
};

[[noreturn]] void notRegFile(const QString& fileName) {
    throw Error(Error::InvalidCall, QStringLiteral("Registry"),
                fileName + QStringLiteral(" is not a registry export file"));
}

} // namespace

void readRegText(QByteArrayView bytes, const QString& fileName, Hive& hive, ParseIssues& issues) {
    QString text;
    bool ansi = false;
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) {
        const QByteArrayView body = bytes.sliced(2);
        text.resize(body.size() / 2);
        std::memcpy(text.data(), body.data(), std::size_t(text.size()) * 2);
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.sliced(3));
    } else {
        ansi = bytes.startsWith(Regedit4.toLatin1());
        text = ansi ? win1252::decode(bytes) : QString::fromUtf8(bytes);
    }
    qsizetype eol = text.indexOf(u'\n');
    if (eol < 0)
        eol = text.size();
    const QStringView header = QStringView(text).first(eol).trimmed();
    if (header == Regedit4)
        ansi = true;
    else if (header != Regedit5)
        notRegFile(fileName);
    Reader body(text, ansi, fileName, hive, issues);
    body.run(eol < text.size() ? eol + 1 : eol);
}

void readRegFile(const QString& path, Hive& hive, ParseIssues& issues) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileNotFound, QStringLiteral("Registry"),
                    QStringLiteral("Cannot read ") + path + QStringLiteral(": ") +
                        file.errorString());
    readRegText(file.readAll(), path, hive, issues);
}

} // namespace vantor::registry
