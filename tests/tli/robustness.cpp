#include "robustness.h"

#include "platform/pe/pe_resources.h"
#include "text/error.h"
#include "tli/member_list.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli/type_lib_info.h"

#include <QFile>
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

// The PE headers and the resource tree up to the first resource's own bytes.
void peRegions(const pe::PeResources& pe, const QByteArray& f, Region& headers, Region& resources) {
    headers = {0, std::min<qint64>(f.size(), 1024)};
    qint64 firstData = f.size();
    for (const pe::ResourceEntry& e : pe.entries())
        firstData = std::min<qint64>(firstData, e.data.data() - f.constData());
    if (pe.resourceDirectoryOffset() >= 0)
        resources = {pe.resourceDirectoryOffset(), firstData};
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
        const pe::PeResources pe(original);
        peRegions(pe, original, headers, resources);
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
