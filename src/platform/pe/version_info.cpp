#include "platform/pe/version_info.h"

#include "platform/pe/byte_reader.h"
#include "text/error.h"
#include "text/text_order.h"

namespace vantor::pe {

namespace {

constexpr quint32 kBlockHeaderSize = 6;
constexpr quint32 kFixedInfoSize = 52;
constexpr quint32 kFixedInfoSignature = 0xFEEF04BDu;
constexpr quint16 kTextValue = 1;

[[noreturn]] void fail(const QString& what) {
    throw Error(Error::InvalidCall, QStringLiteral("parseVersionInfo"),
                QStringLiteral("Invalid version resource: ") + what);
}

quint64 align4(quint64 offset) {
    return (offset + 3) & ~quint64(3);
}

// One block of the version tree, as offsets into the resource data. Alignment is relative to
// the start of the data, so offsets are kept absolute.
struct Block {
    QString key;
    quint16 type = 0;
    quint64 valueStart = 0;
    quint64 valueEnd = 0; // from wValueLength: checked for binary, cut at the block for text
    quint64 childrenStart = 0;
    quint64 end = 0;
};

QString readUtf16(const ByteReader& r, quint64 from, quint64 to) {
    QString text;
    text.reserve(qsizetype((to - from) / 2));
    for (quint64 at = from; at + 2 <= to; at += 2)
        text.append(QChar(*r.u16(at)));
    return text;
}

Block readBlock(const ByteReader& r, quint64 offset, quint64 limit) {
    const auto length = r.u16(offset);
    if (!length || !r.contains(offset, kBlockHeaderSize))
        fail(QStringLiteral("a block lies past the end of the data"));
    // A block shorter than its header would never advance the walk.
    if (*length < kBlockHeaderSize || offset + *length > limit)
        fail(QStringLiteral("a block has an invalid length %1").arg(*length));
    Block b;
    b.end = offset + *length;
    const quint16 valueLength = *r.u16(offset + 2);
    b.type = *r.u16(offset + 4);

    quint64 at = offset + kBlockHeaderSize;
    while (true) {
        if (at + 2 > b.end)
            fail(QStringLiteral("a block's key runs past the block"));
        if (*r.u16(at) == 0)
            break;
        at += 2;
    }
    b.key = readUtf16(r, offset + kBlockHeaderSize, at);
    b.valueStart = std::min(align4(at + 2), b.end);
    if (b.type == kTextValue) {
        // Some writers count a text value in bytes, not units: never past the block.
        b.valueEnd = std::min(b.valueStart + quint64(valueLength) * 2, b.end);
    } else {
        if (b.valueStart + valueLength > b.end)
            fail(QStringLiteral("the value of \"%1\" runs past its block").arg(b.key));
        b.valueEnd = b.valueStart + valueLength;
    }
    b.childrenStart = std::min(align4(b.valueEnd), b.end);
    return b;
}

QList<Block> children(const ByteReader& r, const Block& parent) {
    QList<Block> list;
    quint64 at = parent.childrenStart;
    while (at + kBlockHeaderSize <= parent.end) {
        Block child = readBlock(r, at, parent.end);
        at = align4(child.end);
        list.append(std::move(child));
    }
    return list;
}

FixedFileInfo readFixed(const ByteReader& r, quint64 at) {
    FixedFileInfo f;
    quint32* fields[] = {
        &f.structVersion,    &f.fileVersionMS, &f.fileVersionLS, &f.productVersionMS,
        &f.productVersionLS, &f.flagsMask,     &f.flags,         &f.os,
        &f.fileType,         &f.fileSubtype,   &f.dateMS,        &f.dateLS};
    for (int i = 0; i < 12; ++i)
        *fields[i] = *r.u32(at + 4 + quint64(i) * 4);
    return f;
}

QString versionText(quint32 ms, quint32 ls) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ms >> 16)
        .arg(ms & 0xFFFF)
        .arg(ls >> 16)
        .arg(ls & 0xFFFF);
}

} // namespace

QString FixedFileInfo::fileVersion() const {
    return versionText(fileVersionMS, fileVersionLS);
}

const StringTable* VersionInfo::preferredTable() const {
    for (quint32 translation : translations) {
        const QString key = QStringLiteral("%1%2")
                                .arg(translation & 0xFFFF, 4, 16, QLatin1Char('0'))
                                .arg(translation >> 16, 4, 16, QLatin1Char('0'));
        for (const StringTable& table : tables) {
            if (equalsText(table.key, key))
                return &table;
        }
    }
    return tables.isEmpty() ? nullptr : &tables.first();
}

QString VersionInfo::value(QStringView field) const {
    if (const StringTable* table = preferredTable()) {
        for (const auto& [key, text] : table->strings) {
            if (equalsText(key, field))
                return text;
        }
    }
    return {};
}

VersionInfo parseVersionInfo(QByteArrayView data) {
    const ByteReader r(data);
    const Block root = readBlock(r, 0, quint64(data.size()));
    if (root.key != u"VS_VERSION_INFO")
        fail(QStringLiteral("the root block is not VS_VERSION_INFO"));
    VersionInfo info;
    if (root.valueEnd - root.valueStart >= kFixedInfoSize &&
        *r.u32(root.valueStart) == kFixedInfoSignature)
        info.fixed = readFixed(r, root.valueStart);

    for (const Block& section : children(r, root)) {
        if (equalsText(section.key, u"StringFileInfo")) {
            for (const Block& table : children(r, section)) {
                StringTable strings{table.key, {}};
                for (const Block& s : children(r, table)) {
                    // Writers disagree on whether wValueLength counts units or bytes: the text
                    // runs to the block's end, less its terminating NULs.
                    QString text = readUtf16(r, s.valueStart, s.end);
                    while (text.endsWith(QChar(0)))
                        text.chop(1);
                    strings.strings.append({s.key, text});
                }
                info.tables.append(std::move(strings));
            }
        } else if (equalsText(section.key, u"VarFileInfo")) {
            for (const Block& var : children(r, section)) {
                if (!equalsText(var.key, u"Translation"))
                    continue;
                for (quint64 at = var.valueStart; at + 4 <= var.valueEnd; at += 4)
                    info.translations.append(*r.u32(at));
            }
        }
    }
    return info;
}

std::optional<VersionInfo> versionInfo(const PeResources& resources) {
    const auto data = resources.find(RtVersion, quint16(1));
    if (!data)
        return std::nullopt;
    try {
        return parseVersionInfo(*data);
    } catch (const Error& e) {
        throw resources.named(e);
    }
}

} // namespace vantor::pe
