#include "hive_generator.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <algorithm>
#include <random>

namespace vantor::bench {

namespace {

const QByteArray Sep = "\\\\"; // a path separator as the file writes it
const QByteArray Classes = "software\\\\classes\\\\";

// One key line and the lines below it (time, values), as in the file.
struct Block {
    QByteArray path; // escaped, as between the brackets
    QByteArray body;
    QByteArray order; // path folded, separators lowest: byte order is Wine's key order
};

// Components of an escaped path (separators are "\\"; empty pieces of the split dropped).
QList<QByteArray> parts(const QByteArray& path) {
    QList<QByteArray> out;
    for (const QByteArray& p : path.split('\\'))
        if (!p.isEmpty())
            out << p;
    return out;
}

QList<Block> readBlocks(const QByteArray& text) {
    QList<Block> blocks;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith('[')) {
            blocks.append({line.mid(1, line.lastIndexOf(']') - 1), {}, {}});
        } else if (!blocks.isEmpty() && !line.isEmpty()) {
            blocks.last().body += line + '\n';
        }
    }
    return blocks;
}

QByteArray replaceCi(QByteArray text, const QByteArray& from, const QByteArray& to) {
    const QByteArray lower = from.toLower();
    qsizetype at = 0;
    while ((at = text.toLower().indexOf(lower, at)) >= 0) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

class Guids {
public:
    explicit Guids(std::uint32_t seed) : rng_(seed) {}
    QByteArray next() {
        std::uniform_int_distribution<int> d(0, 15);
        static const char hex[] = "0123456789ABCDEF";
        QByteArray g = "{";
        for (int len : {8, 4, 4, 4, 12}) {
            if (g.size() > 1)
                g += '-';
            for (int i = 0; i < len; ++i)
                g += hex[d(rng_)];
        }
        return g + '}';
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

private:
    std::mt19937 rng_;
};

// Wine writes keys in a depth-first walk with subkeys in name order.
QByteArray orderKey(const QByteArray& path) {
    QByteArray key = path.toLower();
    key.replace(Sep, "\x01");
    return key;
}

} // namespace

GeneratedHive generateClassesHive(const QByteArray& templateHive, const HiveShape& shape) {
    const QList<Block> blocks = readBlocks(templateHive);

    // Type libraries: GUID -> version -> blocks.
    QMap<QByteArray, QMap<QByteArray, QList<Block>>> libs;
    // Classes: CLSID -> blocks; ProgID -> blocks; ProgID -> its CLSID.
    QMap<QByteArray, QList<Block>> classes;
    QMap<QByteArray, QList<Block>> progIdBlocks;
    QHash<QByteArray, QByteArray> progIdClass;
    for (const Block& b : blocks) {
        if (!b.path.toLower().startsWith(Classes))
            continue;
        const QList<QByteArray> p = parts(b.path);
        if (p.size() < 3)
            continue;
        const QByteArray top = p[2].toLower();
        if (top == "typelib" && p.size() >= 5) {
            libs[p[3].toUpper()][p[4]].append(b);
        } else if (top == "clsid" && p.size() >= 4) {
            classes[p[3].toUpper()].append(b);
        } else if (!top.startsWith('.') && !top.startsWith('{') && !top.startsWith('*')) {
            progIdBlocks[p[2]].append(b);
            if (p.size() == 4 && p[3].toLower() == "clsid") {
                const qsizetype open = b.body.indexOf("@=\"{");
                if (open >= 0)
                    progIdClass[p[2]] = b.body.mid(open + 3, 38).toUpper();
            }
        }
    }
    // Class templates: CLSIDs with at least one ProgID.
    QMap<QByteArray, QList<QByteArray>> classProgIds;
    for (auto it = progIdClass.cbegin(); it != progIdClass.cend(); ++it) {
        if (classes.contains(it.value()))
            classProgIds[it.value()].append(it.key());
    }
    const QList<QByteArray> classTemplates = classProgIds.keys();
    const QList<QByteArray> libTemplates = libs.keys();

    GeneratedHive out;
    Guids guids(shape.seed);
    QList<Block> made;

    for (int i = 0; i < shape.typeLibs && !libTemplates.isEmpty(); ++i) {
        const QByteArray& from = libTemplates[i % libTemplates.size()];
        const QByteArray to = guids.next();
        const auto& versions = libs[from];
        const QList<QByteArray> names = versions.keys();
        const int count = 1 + guids.below(3);
        for (int v = 0; v < count; ++v) {
            const QByteArray& version = names[v % names.size()];
            const QByteArray newVersion = QByteArray::number(v + 1) + ".0";
            for (const Block& b : versions[version]) {
                QByteArray path = replaceCi(b.path, from, to);
                path.replace(Sep + version, Sep + newVersion);
                made.append({path, b.body, {}});
            }
        }
        ++out.typeLibs;
        out.versions += count;
    }

    for (int i = 0; out.progIds < shape.progIds && !classTemplates.isEmpty(); ++i) {
        const QByteArray& from = classTemplates[i % classTemplates.size()];
        const QByteArray to = guids.next();
        QList<QByteArray> names = classProgIds[from];
        // Longer names first, so that "X.1" is not caught by a rename of "X".
        std::sort(names.begin(), names.end(),
                  [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
        const QByteArray tag = "V" + QByteArray::number(i) + "_";
        auto rename = [&](QByteArray text) {
            text = replaceCi(text, from, to);
            for (qsizetype n = 0; n < names.size(); ++n)
                text.replace(names[n], "\x01" + QByteArray::number(n) + "\x01");
            for (qsizetype n = 0; n < names.size(); ++n)
                text.replace("\x01" + QByteArray::number(n) + "\x01", tag + names[n]);
            return text;
        };
        for (const Block& b : classes[from])
            made.append({rename(b.path), rename(b.body), {}});
        for (const QByteArray& name : names) {
            for (const Block& b : progIdBlocks[name])
                made.append({rename(b.path), rename(b.body), {}});
        }
        out.progIds += int(names.size());
        ++out.classes;
    }

    for (Block& b : made)
        b.order = orderKey(b.path);
    std::sort(made.begin(), made.end(),
              [](const Block& a, const Block& b) { return a.order < b.order; });
    out.text = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
               "#arch=win64\n";
    for (const Block& b : made) {
        out.text += "\n[" + b.path + "] 1796544678\n" + b.body;
        ++out.keyLines;
    }
    return out;
}

} // namespace vantor::bench
