#include "pe_builder.h"

#include <QtEndian>

namespace vantor::pe::testing {

namespace {

constexpr quint32 kNtOffset = 0x40;
constexpr quint32 kSectionRva = 0x1000;
constexpr quint32 kFileAlignment = 0x200;

void putU16(QByteArray& b, qsizetype at, quint16 v) {
    if (b.size() < at + 2)
        b.resize(at + 2, '\0');
    qToLittleEndian(v, b.data() + at);
}

void putU32(QByteArray& b, qsizetype at, quint32 v) {
    if (b.size() < at + 4)
        b.resize(at + 4, '\0');
    qToLittleEndian(v, b.data() + at);
}

struct Node {
    ResourceKey key;
    QList<Node> children; // empty at the language level
    QByteArray data;      // leaves only
    quint32 dataEntry = 0;
};

Node* child(Node& parent, const ResourceKey& key) {
    for (Node& n : parent.children) {
        if (n.key.matches(key))
            return &n;
    }
    parent.children.append({key, {}, {}, 0});
    return &parent.children.last();
}

// Writes the tree section: directories first, then names, data entries and data.
class TreeWriter {
public:
    QByteArray out;

    quint32 directory(const Node& dir, int level) {
        const quint32 at = quint32(out.size());
        int named = 0;
        for (const Node& n : dir.children)
            named += n.key.isId() ? 0 : 1;
        putU16(out, at + 12, quint16(named));
        putU16(out, at + 14, quint16(dir.children.size() - named));
        out.resize(at + 16 + 8 * dir.children.size(), '\0');
        for (int i = 0; i < dir.children.size(); ++i) {
            const Node& n = dir.children[i];
            const quint32 entry = at + 16 + 8 * i;
            if (n.key.isId())
                putU32(out, entry, n.key.id());
            else
                pendingNames.append({entry, n.key.name()});
            if (level < 2)
                putU32(out, entry + 4, 0x80000000u | directory(n, level + 1));
            else
                pendingData.append({entry + 4, n.data});
        }
        return at;
    }

    void finish(quint32 rva) {
        for (const auto& [entry, name] : pendingNames) {
            putU32(out, entry, 0x80000000u | quint32(out.size()));
            const qsizetype at = out.size();
            putU16(out, at, quint16(name.size()));
            for (int i = 0; i < name.size(); ++i)
                putU16(out, at + 2 + 2 * i, name[i].unicode());
        }
        out.resize((out.size() + 3) & ~3, '\0');
        QList<std::pair<quint32, QByteArray>> data = pendingData;
        QList<quint32> entries;
        for (const auto& [slot, bytes] : data) {
            entries.append(quint32(out.size()));
            putU32(out, slot, quint32(out.size()));
            out.resize(out.size() + 16, '\0');
        }
        for (int i = 0; i < data.size(); ++i) {
            out.resize((out.size() + 7) & ~7, '\0');
            putU32(out, entries[i], rva + quint32(out.size()));
            putU32(out, entries[i] + 4, quint32(data[i].second.size()));
            out.append(data[i].second);
        }
    }

private:
    QList<std::pair<quint32, QString>> pendingNames;
    QList<std::pair<quint32, QByteArray>> pendingData;
};

} // namespace

BuiltPe buildPe(const QList<FixtureResource>& resources, bool pe32Plus) {
    Node root{quint16(0), {}, {}, 0};
    for (const FixtureResource& r : resources) {
        Node* name = child(*child(root, r.type), r.name);
        child(*name, r.language)->data = r.data;
    }
    TreeWriter tree;
    tree.directory(root, 0);
    tree.finish(kSectionRva);

    BuiltPe pe;
    QByteArray& b = pe.bytes;
    b.resize(kNtOffset, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    putU32(b, 0x3C, kNtOffset);
    putU32(b, kNtOffset, 0x00004550u);
    const quint32 coff = kNtOffset + 4;
    putU16(b, coff, pe32Plus ? 0x8664 : 0x014C);
    putU16(b, coff + 2, 1);
    const quint16 optionalSize = pe32Plus ? 240 : 224;
    putU16(b, coff + 16, optionalSize);
    pe.optionalHeader = coff + 20;
    putU16(b, pe.optionalHeader, pe32Plus ? 0x020B : 0x010B);
    putU32(b, pe.optionalHeader + (pe32Plus ? 108 : 92), 16);
    const quint32 directories = pe.optionalHeader + (pe32Plus ? 112 : 96);
    putU32(b, directories + 16, kSectionRva);
    putU32(b, directories + 20, quint32(tree.out.size()));
    pe.sectionTable = pe.optionalHeader + optionalSize;
    const quint32 rawSize = (quint32(tree.out.size()) + kFileAlignment - 1) & ~(kFileAlignment - 1);
    b.resize(pe.sectionTable + 40, '\0');
    b.replace(pe.sectionTable, 5, ".rsrc");
    putU32(b, pe.sectionTable + 8, quint32(tree.out.size()));
    putU32(b, pe.sectionTable + 12, kSectionRva);
    putU32(b, pe.sectionTable + 16, rawSize);
    putU32(b, pe.sectionTable + 20, kFileAlignment);
    b.resize(kFileAlignment, '\0');
    pe.resourceDirectory = kFileAlignment;
    pe.sectionRva = kSectionRva;
    b.append(tree.out);
    b.resize(kFileAlignment + rawSize, '\0');
    return pe;
}

} // namespace vantor::pe::testing
