#include "browser/rtf_content.h"

#include "text/string_helpers.h"
#include "text/win1252.h"

#include <QList>

namespace vantor {
namespace {

enum class Destination { Text, FontTable, ColourTable, Skip };

struct GroupState {
    RtfCharFormat format;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

// Nesting beyond this is read flat: deeper groups change nothing Vantor writes.
constexpr int kMaxDepth = 128;

bool special(QChar c) {
    return c == u'{' || c == u'}' || c == u'\\' || c == u'\r' || c == u'\n';
}

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

class Reader {
public:
    explicit Reader(QStringView rtf) : rtf_(rtf) { content_.paragraphs.append(RtfParagraph{}); }

    RtfContent read() {
        while (pos_ < rtf_.size()) {
            const QChar c = rtf_[pos_++];
            if (c == u'{') {
                openGroup();
            } else if (c == u'}') {
                closeGroup();
            } else if (c == u'\\') {
                controlSequence();
            } else if (c != u'\r' && c != u'\n') {
                // Plain text comes in runs; taking them whole keeps long documents fast.
                const qsizetype start = pos_ - 1;
                while (pos_ < rtf_.size() && !special(rtf_[pos_]))
                    ++pos_;
                text(rtf_.sliced(start, pos_ - start));
            }
        }
        finishParagraph();
        return std::move(content_);
    }

private:
    void openGroup() {
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        stack_.append(state_);
    }

    void closeGroup() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.isEmpty())
            return;
        if (state_.destination == Destination::FontTable && !fontName_.isEmpty())
            addFont();
        state_ = stack_.takeLast();
    }

    void controlSequence() {
        if (pos_ >= rtf_.size())
            return;
        const QChar c = rtf_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        switch (c.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            character(c);
            break;
        case u'\'':
            hexByte();
            break;
        case u'*':
            state_.destination = Destination::Skip;
            break;
        case u'~':
            character(QChar(0x00A0));
            break;
        case u'_':
            character(QChar(0x2011));
            break;
        case u'\r':
        case u'\n':
            paragraph();
            break;
        default:
            break;
        }
    }

    void hexByte() {
        if (pos_ + 1 >= rtf_.size())
            return;
        const int hi = HexDigit(rtf_[pos_]);
        const int lo = HexDigit(rtf_[pos_ + 1]);
        if (hi < 0 || lo < 0)
            return;
        pos_ += 2;
        const char byte = char(hi * 16 + lo);
        character(win1252::decode(QByteArrayView(&byte, 1)).at(0));
    }

    void controlWord() {
        const qsizetype start = pos_;
        while (pos_ < rtf_.size() && isLetter(rtf_[pos_]) && pos_ - start < 32)
            ++pos_;
        const QStringView word = rtf_.sliced(start, pos_ - start);
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (pos_ < rtf_.size() && rtf_[pos_] == u'-') {
            negative = true;
            ++pos_;
        }
        for (int digits = 0; pos_ < rtf_.size() && rtf_[pos_].isDigit(); ++pos_, ++digits) {
            hasParam = true;
            if (digits < 10)
                param = param * 10 + (rtf_[pos_].unicode() - u'0');
        }
        if (negative)
            param = -param;
        if (pos_ < rtf_.size() && rtf_[pos_] == u' ')
            ++pos_;
        apply(word, hasParam, int(std::clamp(param, -2147483647LL, 2147483647LL)));
    }

    void apply(QStringView word, bool hasParam, int param) {
        const bool on = !hasParam || param != 0;
        RtfCharFormat& f = state_.format;
        if (word == u"fonttbl") {
            state_.destination = Destination::FontTable;
        } else if (word == u"colortbl") {
            state_.destination = Destination::ColourTable;
            colour_ = RtfColour{};
        } else if (word == u"stylesheet" || word == u"info" || word == u"pict" ||
                   word == u"object" || word == u"header" || word == u"footer") {
            state_.destination = Destination::Skip;
        } else if (state_.destination == Destination::FontTable) {
            if (word == u"f")
                fontIndex_ = param;
        } else if (state_.destination == Destination::ColourTable) {
            const int value = std::clamp(param, 0, 255);
            colour_.automatic = false;
            if (word == u"red")
                colour_.red = value;
            else if (word == u"green")
                colour_.green = value;
            else if (word == u"blue")
                colour_.blue = value;
        } else if (word == u"deff") {
            content_.defaultFont = param;
            f.font = param;
        } else if (word == u"b") {
            f.bold = on;
        } else if (word == u"i") {
            f.italic = on;
        } else if (word == u"ul") {
            f.underline = on;
        } else if (word == u"ulnone") {
            f.underline = false;
        } else if (word == u"v") {
            f.hidden = on;
        } else if (word == u"cf") {
            f.colour = std::max(param, 0);
        } else if (word == u"f") {
            f.font = param;
        } else if (word == u"fs") {
            f.halfPoints = std::clamp(hasParam ? param : 24, 2, 3276);
        } else if (word == u"plain") {
            f = RtfCharFormat{.font = content_.defaultFont};
        } else if (word == u"par") {
            paragraph();
        } else if (word == u"line") {
            character(QChar(0x2028));
        } else if (word == u"tab") {
            character(u'\t');
        } else if (word == u"pard") {
            firstIndent_ = leftIndent_ = rightIndent_ = 0;
        } else if (word == u"fi") {
            firstIndent_ = param;
        } else if (word == u"li") {
            leftIndent_ = param;
        } else if (word == u"ri") {
            rightIndent_ = param;
        } else if (word == u"uc") {
            state_.unicodeSkip = std::clamp(param, 0, 8);
        } else if (word == u"u") {
            character(QChar(char16_t(param < 0 ? param + 65536 : param)));
            skipFallback(state_.unicodeSkip);
        }
    }

    // The characters after \uN that stand in for readers without Unicode.
    void skipFallback(int count) {
        while (count > 0 && pos_ < rtf_.size()) {
            const QChar c = rtf_[pos_];
            if (c == u'{' || c == u'}')
                return;
            if (c == u'\\' && pos_ + 1 < rtf_.size() && rtf_[pos_ + 1] == u'\'')
                pos_ += 4;
            else if (c == u'\\')
                return;
            else
                ++pos_;
            --count;
        }
    }

    void character(QChar c) { text(QStringView(&c, 1)); }

    void text(QStringView t) {
        switch (state_.destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            for (const QChar c : t) {
                if (c == u';')
                    addFont();
                else
                    fontName_ += c;
            }
            return;
        case Destination::ColourTable:
            for (const QChar c : t) {
                if (c == u';') {
                    content_.colours.append(colour_);
                    colour_ = RtfColour{};
                }
            }
            return;
        case Destination::Text:
            break;
        }
        QList<RtfRun>& runs = content_.paragraphs.last().runs;
        if (runs.isEmpty() || !(runs.last().format == state_.format))
            runs.append({QString(), state_.format});
        runs.last().text += t;
    }

    void addFont() {
        content_.fonts.insert(fontIndex_, fontName_.trimmed());
        fontName_.clear();
    }

    void finishParagraph() {
        RtfParagraph& p = content_.paragraphs.last();
        p.firstIndent = firstIndent_;
        p.leftIndent = leftIndent_;
        p.rightIndent = rightIndent_;
    }

    void paragraph() {
        if (state_.destination != Destination::Text)
            return;
        finishParagraph();
        content_.paragraphs.append(RtfParagraph{});
    }

    QStringView rtf_;
    qsizetype pos_ = 0;
    RtfContent content_;
    GroupState state_;
    QList<GroupState> stack_;
    int overflow_ = 0;
    int fontIndex_ = 0;
    QString fontName_;
    RtfColour colour_;
    int firstIndent_ = 0;
    int leftIndent_ = 0;
    int rightIndent_ = 0;
};

} // namespace

RtfColour RtfContent::colour(int index) const {
    return index >= 0 && index < colours.size() ? colours[index] : RtfColour{};
}

RtfContent parseRtf(QStringView rtf) {
    return Reader(rtf).read();
}

} // namespace vantor
