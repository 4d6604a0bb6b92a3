#include "robustness.h"

#include "platform/pe/pe_resources.h"
#include "text/error.h"
#include "tli/member_list.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli/type_lib_info.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <memory>
#include <random>

namespace vantor::tli::testing {
namespace {

struct Region {
    qint64 begin = 0;
    qint64 end = 0;
    bool empty() const { return end <= begin; }
};

quint32 le32(const QByteArray& b, qint64 off) {
    return off >= 0 && off + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + off) : 0;
}
quint16 le16(const QByteArray& b, qint64 off) {
    return off >= 0 && off + 2 <= b.size() ? qFromLittleEndian<quint16>(b.constData() + off) : 0;
}

// The PE headers and the resource directory's bytes, read straight from the layout so that the
// aim does not depend on the reader under test.
void peRegions(const QByteArray& f, Region& headers, Region& resources) {
    const qint64 pe = le32(f, 0x3C);
    const qint64 opt = pe + 24;
    const quint16 nSections = le16(f, pe + 6), optSize = le16(f, pe + 20);
    const qint64 sections = opt + optSize;
    headers = {0, std::min<qint64>(f.size(), sections + 40 * qint64(nSections))};
    const qint64 dirs = opt + (le16(f, opt) == 0x20B ? 112 : 96);
    const quint32 rva = le32(f, dirs + 16), size = le32(f, dirs + 20);
    for (int s = 0; s < nSections; ++s) {
        const qint64 h = sections + 40 * s;
        const quint32 va = le32(f, h + 12), raw = le32(f, h + 16), ptr = le32(f, h + 20);
        if (rva >= va && rva < va + raw) {
            const qint64 begin = ptr + (rva - va);
            resources = {begin, std::min<qint64>(f.size(), begin + size)};
            return;
        }
    }
}

// An exact-size copy: reading past its end is a heap overflow the sanitizers see.
std::unique_ptr<char[]> copyOf(const char* data, qint64 size) {
    auto c = std::make_unique<char[]>(size_t(std::max<qint64>(size, 1)));
    if (size > 0)
        memcpy(c.get(), data, size_t(size));
    return c;
}

// Everything the component offers over a model: the views, member lists and lookups.
void walkComponent(const std::shared_ptr<const TypeLib>& lib) {
    const MemberFilters all{0, 0};
    auto walkType = [](const TypeDescriptor& d) {
        d.varType();
        d.pointerLevel();
        d.typedValueName();
        d.arrayBounds();
        d.isExternal();
        d.externalLibrary();
        if (const auto info = d.typeInfo())
            info->finalType();
        d.resolved().varType();
    };
    auto walkMembers = [&](const std::vector<MemberView>& members) {
        // One lookup per list: each walks the whole list already.
        if (const QList<ListRow> rows = memberRowsOf(members); !rows.isEmpty())
            findMember(members, rows.back().itemData, -1, rows.back().text);
        for (const MemberView& m : members) {
            walkType(m.returnType());
            for (const ParameterView& p : m.parameters().items) {
                walkType(p.type());
                p.defaultValue();
            }
            m.constantValue();
            m.owner().number();
        }
    };
    for (const TypeInfo& info : lib->typeInfos()) {
        const TypeInfoView v(lib, &info);
        v.kindKeyword();
        v.interfaces();
        v.interfaceFlags();
        v.defaultInterface();
        v.finalType();
        walkType(v.resolvedType());
        walkMembers(listedMembers(v, all));
    }
    walkMembers(globalMembers(lib, all));
}

void readOnce(QByteArrayView bytes, std::optional<quint16> resource, LibraryResolver* resolver,
              const QString& name, ShakeReport& report) {
    ++report.attempts;
    try {
        const auto lib =
            std::make_shared<const TypeLib>(readTypeLib(bytes, resource, resolver, name));
        dumpTypeLib(*lib);
        walkComponent(lib);
        ++report.models;
    } catch (const Error& e) {
        ++report.errors;
        if (!e.description().startsWith(name + QStringLiteral(": ")) ||
            e.description().size() <= name.size() + 2)
            report.unclearErrors.push_back(e.description());
    }
}

} // namespace

ShakeReport shakeLibrary(const QString& path, const ShakeOptions& options,
                         LibraryResolver* resolver) {
    ShakeReport report;
    const LibraryPath where = splitLibraryPath(path);
    QFile file(where.file);
    if (!file.open(QIODevice::ReadOnly))
        return report;
    const QByteArray original = file.readAll();
    const QString name = QStringLiteral("sample");

    Region headers, resources, library;
    qint64 librarySize = original.size();
    const bool isPe = original.startsWith("MZ");
    if (isPe) {
        peRegions(original, headers, resources);
        const pe::PeResources pe(original);
        if (const auto tlb = pe.typelib(where.resource.value_or(1))) {
            library.begin = tlb->data() - original.constData();
            library.end = library.begin + tlb->size();
            librarySize = tlb->size();
        }
    } else {
        library = {0, original.size()};
    }

    for (int i = 0; i < options.truncations; ++i) {
        const qint64 len = original.size() * i / options.truncations;
        const auto copy = copyOf(original.constData(), len);
        readOnce(QByteArrayView(copy.get(), len), where.resource, resolver, name, report);
        if (!library.empty()) {
            const qint64 tlen = librarySize * i / options.truncations;
            const auto tcopy = copyOf(original.constData() + library.begin, tlen);
            readOnce(QByteArrayView(tcopy.get(), tlen), std::nullopt, resolver, name, report);
        }
    }

    std::mt19937 rng(options.seed);
    const auto buffer = copyOf(original.constData(), original.size());
    const Region targets[] = {headers, resources, library};
    for (int i = 0; i < options.corruptions; ++i) {
        const Region& r = targets[rng() % 3];
        if (r.empty())
            continue;
        const qint64 pos = r.begin + qint64(rng() % quint64(r.end - r.begin));
        const char old = buffer[pos];
        buffer[pos] = char(old ^ char(1 + rng() % 255));
        readOnce(QByteArrayView(buffer.get(), original.size()), where.resource, resolver, name,
                 report);
        buffer[pos] = old;
    }
    return report;
}

} // namespace vantor::tli::testing
