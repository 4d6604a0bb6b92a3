#include "tli/msft_reader.h"

#include "text/win1252.h"
#include "tli/api_views.h"
#include "tli/errors.h"
#include "tli/imports.h"
#include "tli/library_resolver.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vantor::tli {
namespace {

constexpr quint32 None = 0xFFFFFFFF;
constexpr int TypeInfoSize = 0x64;
constexpr int MaxTypeDepth = 32;

enum Segment {
    TypeInfoTab,
    ImpInfo,
    ImpFiles,
    RefTab,
    GuidHashTab,
    GuidTab,
    NameHashTab,
    NameTab,
    StringTab,
    TypeDescTab,
    ArrayDescTab,
    CustData,
    CDGuids,
    SegmentCount = 15
};

QString hex(quint64 v) {
    return QStringLiteral("0x") + QString::number(v, 16).toUpper();
}

class Reader {
public:
    Reader(QByteArrayView bytes, LibraryResolver* resolver) : d_(bytes), resolver_(resolver) {}

    void readHeader();
    LibraryIdentity identity();
    TypeLib read();

private:
    struct Seg {
        qint64 offset = 0;
        qint64 length = 0;
    };

    // Checked reads: every offset is tested against the bytes before use.
    quint32 u32(qint64 off) const {
        need(off, 4);
        return qFromLittleEndian<quint32>(d_.data() + off);
    }
    quint16 u16(qint64 off) const {
        need(off, 2);
        return qFromLittleEndian<quint16>(d_.data() + off);
    }
    quint8 u8(qint64 off) const {
        need(off, 1);
        return quint8(d_[off]);
    }
    void need(qint64 off, qint64 len) const {
        if (off < 0 || len < 0 || off > d_.size() || len > d_.size() - off)
            failLoad(QStringLiteral("a read of %1 bytes at offset %2 leaves the data (%3 bytes)")
                         .arg(len)
                         .arg(hex(quint64(off)))
                         .arg(d_.size()));
    }
    // Absolute offset of `len` bytes at `rel` inside a segment, checked against the segment.
    qint64 at(Segment s, quint32 rel, qint64 len, const char* what) const {
        const Seg& g = seg_[s];
        if (qint64(rel) > g.length || len > g.length - qint64(rel))
            failLoad(QStringLiteral("%1 at %2 lies outside its table (%3 bytes)")
                         .arg(QLatin1String(what), hex(rel))
                         .arg(g.length));
        return g.offset + rel;
    }

    QString name(quint32 off);
    quint32 nameHref(quint32 off) { return u32(at(NameTab, off, 12, "a name")); }
    QString string(quint32 off);
    Guid guid(quint32 off);
    TypeId type(quint32 encoded, int depth = 0);
    TypeId baseType(quint16 vt);
    qint32 ref(quint32 href);
    qint32 importSlot(quint32 fileOffset);
    qint32 value(quint32 ref);
    void readTypeInfo(int index);
    void readMembers(TypeInfo& info, qint64 block, int nFuncs, int nVars);
    void readFunc(qint64 rec, qint64 len, qint32 memid, quint32 nameOff, const QString& previous);
    void readVar(qint64 rec, qint64 len, qint32 memid, quint32 nameOff);
    void readImplTypes(TypeInfo& info, quint32 datatype1, int count);
    // Vantor is a 64-bit program: the type services present the pointer-sized values of a
    // 32-bit library (vtable offsets, the size of an interface or class) at 64 bits.
    bool narrowPointers() const { return (varflags_ & 0xF) == 1; }
    void widenPointers(TypeLibData& d) const;
    bool pointerSized(const TypeLibData& d, TypeId id, int depth) const;

    QByteArrayView d_;
    LibraryResolver* resolver_;
    TypeLibData out_;

    quint32 varflags_ = 0;
    quint32 count_ = 0;
    qint64 offsets_ = 0; // the type info offset array
    Seg seg_[SegmentCount];
    quint32 dispatchPos_ = None;
    qint64 memberBytes_ = 0;
    qint64 refTabUses_ = 0;

    std::vector<qint32> nameCache_, stringCache_, typeCache_;
    std::vector<QString> namePool_, stringPool_;
    TypeId baseCache_[0x1000];
    std::unordered_map<quint32, qint32> refCache_, importCache_;
    std::unordered_map<quint32, qint32> hrefToIndex_; // the type info each local hreftype reaches
};

void Reader::readHeader() {
    need(0, 0x54);
    if (u32(0) != 0x5446534D)
        failLoad(QStringLiteral("not an MSFT type library (no MSFT signature)"));
    varflags_ = u32(0x14);
    count_ = u32(0x20);
    if (count_ > 0xFFFF)
        failLoad(QStringLiteral("the header claims %1 type infos").arg(count_));
    offsets_ = 0x54 + ((varflags_ & 0x100) ? 4 : 0);
    const qint64 dir = offsets_ + 4 * qint64(count_);
    need(dir, SegmentCount * 16);
    for (int s = 0; s < SegmentCount; ++s) {
        const quint32 off = u32(dir + 16 * s), len = u32(dir + 16 * s + 4);
        if (off == None) {
            seg_[s] = {};
            continue;
        }
        if (qint64(off) + qint64(len) > d_.size())
            failLoad(QStringLiteral("table %1 (%2 bytes at %3) runs past the end of the data")
                         .arg(s)
                         .arg(len)
                         .arg(hex(off)));
        seg_[s] = {qint64(off), qint64(len)};
    }
}

LibraryIdentity Reader::identity() {
    LibraryIdentity id;
    const quint32 pos = u32(0x08);
    if (pos != None)
        id.guid = guid(pos);
    const quint32 version = u32(0x18);
    id.major = quint16(version);
    id.minor = quint16(version >> 16);
    id.lcid = u32(0x10);
    return id;
}

QString Reader::name(quint32 off) {
    if (off == None)
        return {};
    const qint64 entry = at(NameTab, off, 12, "a name");
    const bool cacheable = off % 4 == 0;
    if (cacheable && nameCache_[off / 4] >= 0)
        return namePool_[nameCache_[off / 4]];
    const quint8 len = u8(entry + 8);
    QString s = win1252::decode(d_.sliced(at(NameTab, off + 12, len, "a name"), len));
    if (cacheable) {
        nameCache_[off / 4] = qint32(namePool_.size());
        namePool_.push_back(s);
    }
    return s;
}

QString Reader::string(quint32 off) {
    if (off == None)
        return {};
    const qint64 entry = at(StringTab, off, 2, "a string");
    const bool cacheable = off % 4 == 0;
    if (cacheable && stringCache_[off / 4] >= 0)
        return stringPool_[stringCache_[off / 4]];
    const quint16 len = u16(entry);
    QString s = win1252::decode(d_.sliced(at(StringTab, off + 2, len, "a string"), len));
    if (cacheable) {
        stringCache_[off / 4] = qint32(stringPool_.size());
        stringPool_.push_back(s);
    }
    return s;
}

Guid Reader::guid(quint32 off) {
    if (off == None)
        return {};
    const qint64 p = at(GuidTab, off, 16, "a GUID");
    Guid g;
    g.data1 = u32(p);
    g.data2 = u16(p + 4);
    g.data3 = u16(p + 6);
    for (int i = 0; i < 8; ++i)
        g.data4[i] = quint8(d_[p + 8 + i]);
    return g;
}

TypeId Reader::baseType(quint16 v) {
    TypeId& id = baseCache_[v & 0xFFF];
    if (id < 0) {
        id = TypeId(out_.types.size());
        out_.types.push_back(TypeDesc{v});
    }
    return id;
}

TypeId Reader::type(quint32 encoded, int depth) {
    if (encoded & 0x80000000) {
        const quint16 v = quint16(encoded & 0x0FFF);
        if (v >= vt::Ptr && v <= vt::UserDefined)
            failLoad(QStringLiteral("an inline type %1 lacks what it refers to").arg(hex(encoded)));
        return baseType(v);
    }
    if (depth > MaxTypeDepth)
        failLoad(QStringLiteral("type descriptors nest deeper than %1 levels").arg(MaxTypeDepth));
    if (encoded % 8)
        failLoad(
            QStringLiteral("type descriptor offset %1 is not a multiple of 8").arg(hex(encoded)));
    const qint64 p = at(TypeDescTab, encoded, 8, "a type descriptor");
    qint32& cached = typeCache_[encoded / 8];
    if (cached >= 0)
        return cached;
    const quint32 w0 = u32(p), w1 = u32(p + 4);
    TypeDesc t{quint16(w0)};
    switch (t.vt) {
    case vt::Ptr:
    case vt::SafeArray:
        t.inner = type(w1, depth + 1);
        break;
    case vt::CArray: {
        const qint64 a = at(ArrayDescTab, w1, 8, "an array descriptor");
        t.dims = u16(a + 4);
        at(ArrayDescTab, w1 + 8, 8 * qint64(t.dims), "an array descriptor");
        t.inner = type(u32(a), depth + 1);
        t.firstBound = qint32(out_.bounds.size());
        for (int k = 0; k < t.dims; ++k)
            out_.bounds.push_back({qint32(u32(a + 12 + 8 * k)), u32(a + 8 + 8 * k)});
        break;
    }
    case vt::UserDefined:
        t.ref = ref(w1);
        break;
    default:
        break;
    }
    // Entries are shared by many members: each is converted once.
    cached = TypeId(out_.types.size());
    out_.types.push_back(t);
    return cached;
}

qint32 Reader::importSlot(quint32 fileOffset) {
    auto it = importCache_.find(fileOffset);
    if (it != importCache_.end())
        return it->second;
    const qint64 p = at(ImpFiles, fileOffset, 14, "an imported library");
    ImportedLibrary lib;
    lib.guid = guid(u32(p));
    lib.lcid = u32(p + 4);
    const quint32 version = u32(p + 8);
    lib.major = quint16(version);
    lib.minor = quint16(version >> 16);
    const quint16 len = u16(p + 12) >> 2;
    lib.fileName =
        win1252::decode(d_.sliced(at(ImpFiles, fileOffset + 14, len, "a file name"), len));
    const qint32 slot = qint32(out_.imports.size());
    out_.imports.push_back(std::move(lib));
    importCache_.emplace(fileOffset, slot);
    return slot;
}

qint32 Reader::ref(quint32 href) {
    auto it = refCache_.find(href);
    if (it != refCache_.end())
        return it->second;
    TypeRef r;
    if (href != None && (href & 3) == 0) {
        if (href % TypeInfoSize == 0 && href / TypeInfoSize < count_)
            r.stored = qint32(href / TypeInfoSize);
        // The services find a local type by the hreftype its name's entry records, so a type
        // whose name entry points at another type info cannot be reached at all.
        auto hit = hrefToIndex_.find(href);
        if (hit != hrefToIndex_.end())
            r.index = hit->second;
    } else if (href != None && (href & 3) == 1) {
        const qint64 p = at(ImpInfo, href - 1, 12, "an imported type");
        const quint32 flags = u32(p);
        r.library = importSlot(u32(p + 4));
        r.byGuid = flags & 0x10000;
        if (r.byGuid)
            r.guid = guid(u32(p + 8));
        else
            r.stored = qint32(u32(p + 8));
    }
    const qint32 index = qint32(out_.refs.size());
    out_.refs.push_back(r);
    refCache_.emplace(href, index);
    return index;
}

qint32 Reader::value(quint32 v) {
    Value val;
    if (v & 0x80000000) {
        val.vt = quint16((v >> 26) & 0x1F);
        const quint32 raw = v & 0x3FFFFFF;
        switch (val.vt) {
        case vt::I2:
        case vt::Bool:
            val.integer = qint16(raw);
            break;
        case vt::I1:
            val.integer = qint8(raw);
            break;
        case vt::R4: {
            // widl stores the number as an integer; the type services read the bits as a float.
            float f;
            memcpy(&f, &raw, 4);
            val.real = f;
            break;
        }
        case vt::R8:
        case vt::Date: {
            const quint64 bits = raw;
            memcpy(&val.real, &bits, 8);
            break;
        }
        default:
            val.integer = raw;
        }
        // Inline types a VARIANT cannot hold: -1, which widl leaves where it could not encode a
        // default, reads as VT_LPWSTR.
        if (val.vt == 15 || val.vt >= vt::Void)
            val.state = Value::State::Invalid;
    } else {
        const qint64 p = at(CustData, v, 2, "a value");
        val.vt = u16(p);
        auto bytes = [&](int n) { return at(CustData, v + 2, n, "a value"); };
        switch (val.vt) {
        case vt::I2:
            val.integer = qint16(u16(bytes(2)));
            break;
        case vt::Bool:
            val.integer = qint16(u16(bytes(2)));
            break;
        case vt::UI2:
            val.integer = u16(bytes(2));
            break;
        case vt::I1:
            val.integer = qint8(u8(bytes(1)));
            break;
        case vt::UI1:
            val.integer = u8(bytes(1));
            break;
        case vt::I4:
        case vt::Int:
        case vt::Error:
        case vt::HResult:
            val.integer = qint32(u32(bytes(4)));
            break;
        case vt::UI4:
        case vt::UInt:
            val.integer = u32(bytes(4));
            break;
        case vt::R4: {
            const quint32 b = u32(bytes(4));
            float f;
            memcpy(&f, &b, 4);
            val.real = f;
            break;
        }
        case vt::R8:
        case vt::Date:
        case vt::Cy:
        case vt::I8:
        case vt::UI8: {
            const qint64 q = bytes(8);
            const quint64 b = quint64(u32(q)) | quint64(u32(q + 4)) << 32;
            if (val.vt == vt::R8 || val.vt == vt::Date)
                memcpy(&val.real, &b, 8);
            else
                val.integer = qint64(b);
            break;
        }
        case vt::Bstr: {
            const quint32 len = u32(bytes(4));
            if (len != None)
                val.text =
                    win1252::decode(d_.sliced(at(CustData, v + 6, len, "a string value"), len));
            break;
        }
        default:
            val.state = Value::State::Invalid;
        }
    }
    const qint32 index = qint32(out_.values.size());
    out_.values.push_back(std::move(val));
    return index;
}

void Reader::readFunc(qint64 rec, qint64 len, qint32 memid, quint32 nameOff,
                      const QString& previous) {
    if (len < 0x18)
        failLoad(QStringLiteral("a function record of %1 bytes is too short").arg(len));
    Func f;
    f.memid = memid;
    // A function without a name of its own is the second accessor of the one before it.
    f.name = nameOff == None ? previous : name(nameOff);
    f.returnType = type(u32(rec + 4));
    f.flags = quint16(u32(rec + 8));
    f.vtableOffset = qint16(u16(rec + 0x0C) & ~1u);
    if (narrowPointers())
        f.vtableOffset = qint16(f.vtableOffset * 2);
    const quint32 fk = u32(rec + 0x10);
    f.funcKind = fk & 7;
    f.invokeKind = (fk >> 3) & 0xF;
    f.callConv = (fk >> 8) & 0xF;
    const quint16 nParams = u16(rec + 0x14);
    f.optionalCount = qint16(u16(rec + 0x16));
    const bool defaults = fk & 0x1000;
    const qint64 paramBytes = 12 * qint64(nParams),
                 defaultBytes = defaults ? 4 * qint64(nParams) : 0;
    if (0x18 + paramBytes + defaultBytes > len)
        failLoad(QStringLiteral("a function record of %1 bytes cannot hold its %2 parameters")
                     .arg(len)
                     .arg(nParams));
    memberBytes_ += paramBytes + defaultBytes;
    if (memberBytes_ > d_.size())
        failLoad(QStringLiteral("the function records overlap"));
    const qint64 optional = (len - 0x18 - paramBytes - defaultBytes) / 4;
    auto opt = [&](int i, quint32 otherwise) {
        return i < optional ? u32(rec + 0x18 + 4 * i) : otherwise;
    };
    f.helpContext = opt(0, 0);
    f.doc = string(opt(1, None));
    if (f.funcKind == 3 && optional > 2) {
        const quint32 entry = opt(2, None);
        if (fk & 0x2000)
            f.entryOrdinal = qint32(entry & 0xFFFF);
        else if (entry != None && qint64(entry) < seg_[StringTab].length)
            f.entryName = string(entry);
    }
    f.helpStringContext = opt(5, 0);

    const qint64 params = rec + len - paramBytes, defaultSlots = params - defaultBytes;
    f.params = {qint32(out_.params.size()), nParams};
    for (int k = 0; k < nParams; ++k) {
        const qint64 p = params + 12 * k;
        Param prm;
        prm.type = type(u32(p));
        prm.name = name(u32(p + 4));
        prm.flags = quint16(u32(p + 8));
        if (defaults && (prm.flags & flag::ParamHasDefault)) {
            prm.defaultValue = value(u32(defaultSlots + 4 * k));
            if (out_.values[prm.defaultValue].state == Value::State::Invalid)
                f.badDefault = true;
        }
        out_.params.push_back(std::move(prm));
    }
    out_.funcs.push_back(std::move(f));
}

void Reader::readVar(qint64 rec, qint64 len, qint32 memid, quint32 nameOff) {
    if (len < 0x14)
        failLoad(QStringLiteral("a variable record of %1 bytes is too short").arg(len));
    Var v;
    v.memid = memid;
    v.name = name(nameOff);
    v.type = type(u32(rec + 4));
    v.flags = quint16(u32(rec + 8));
    v.varKind = quint8(u16(rec + 0x0C));
    const quint32 data = u32(rec + 0x10);
    if (v.varKind == 2)
        v.value = value(data);
    else
        v.instanceOffset = qint32(data);
    if (len >= 0x18)
        v.helpContext = u32(rec + 0x14);
    if (len >= 0x1C)
        v.doc = string(u32(rec + 0x18));
    if (len >= 0x28)
        v.helpStringContext = u32(rec + 0x24);
    out_.vars.push_back(std::move(v));
}

void Reader::readMembers(TypeInfo& info, qint64 block, int nFuncs, int nVars) {
    const qint64 n = nFuncs + nVars;
    // Records take bytes of their own: more of them than the file could hold means blocks are
    // shared, which would multiply the work.
    memberBytes_ += 0x18 * qint64(nFuncs) + 0x14 * qint64(nVars);
    if (memberBytes_ > d_.size())
        failLoad(QStringLiteral("the member blocks of the type infos overlap"));
    const quint32 infoLen = u32(block);
    const qint64 records = block + 4, arrays = records + infoLen;
    need(records, infoLen);
    need(arrays, 12 * n);
    info.funcs = {qint32(out_.funcs.size()), nFuncs};
    info.vars = {qint32(out_.vars.size()), nVars};
    QString previous;
    for (qint64 m = 0; m < n; ++m) {
        const quint32 recOff = u32(arrays + 4 * (2 * n + m));
        if (qint64(recOff) + 4 > infoLen)
            failLoad(QStringLiteral("member %1 of type info \"%2\" lies outside its block")
                         .arg(m)
                         .arg(info.name));
        const qint64 rec = records + recOff;
        const qint64 len = u32(rec) & 0xFFFF;
        if (qint64(recOff) + len > infoLen)
            failLoad(QStringLiteral("member %1 of type info \"%2\" runs past its block")
                         .arg(m)
                         .arg(info.name));
        const qint32 memid = qint32(u32(arrays + 4 * m));
        const quint32 nameOff = u32(arrays + 4 * (n + m));
        if (m < nFuncs) {
            readFunc(rec, len, memid, nameOff, previous);
            previous = out_.funcs.back().name;
        } else {
            readVar(rec, len, memid, nameOff);
        }
    }
}

void Reader::readImplTypes(TypeInfo& info, quint32 datatype1, int count) {
    info.implTypes = {qint32(out_.implTypes.size()), 0};
    switch (info.kind) {
    case TypeKind::Coclass: {
        quint32 next = datatype1;
        for (int i = 0; i < count && next != None; ++i) {
            if (++refTabUses_ * 16 > seg_[RefTab].length)
                failLoad(QStringLiteral("the implemented types of \"%1\" loop or overlap")
                             .arg(info.name));
            const qint64 p = at(RefTab, next, 16, "an implemented type");
            out_.implTypes.push_back({quint16(u32(p + 4)), ref(u32(p))});
            next = u32(p + 12);
        }
        break;
    }
    case TypeKind::Interface:
        if (count > 0 && datatype1 != None)
            out_.implTypes.push_back({0, ref(datatype1)});
        break;
    case TypeKind::Dispatch:
        // A dual keeps its declared base until its views are built; a plain dispinterface
        // derives from IDispatch.
        if (info.flags & flag::TypeDual)
            out_.implTypes.push_back({0, ref(datatype1)});
        else if (count > 0)
            out_.implTypes.push_back({0, ref(dispatchPos_)});
        break;
    default:
        break;
    }
    info.implTypes.count = qint32(out_.implTypes.size()) - info.implTypes.first;
}

void Reader::readTypeInfo(int index) {
    const qint64 p = at(TypeInfoTab, u32(offsets_ + 4 * index), TypeInfoSize, "a type info");
    const quint32 kind = u32(p);
    if ((kind & 0xF) > quint32(TypeKind::Union))
        failLoad(QStringLiteral("type info %1 is of unknown kind %2").arg(index).arg(kind & 0xF));
    TypeInfo info;
    info.kind = TypeKind(kind & 0xF);
    info.alignment = quint16((kind >> 11) & 0x1F);
    const quint32 elements = u32(p + 0x18);
    info.guid = guid(u32(p + 0x2C));
    info.flags = quint16(u32(p + 0x30));
    info.name = name(u32(p + 0x34));
    const quint32 version = u32(p + 0x38);
    info.major = quint16(version);
    info.minor = quint16(version >> 16);
    info.doc = string(u32(p + 0x3C));
    info.helpStringContext = u32(p + 0x40);
    info.helpContext = u32(p + 0x44);
    const quint16 implCount = u16(p + 0x4C);
    info.sizeVft = u16(p + 0x4E);
    info.sizeInstance = u32(p + 0x50);
    const quint32 datatype1 = u32(p + 0x54);
    if (info.kind == TypeKind::Alias)
        info.alias = type(datatype1);
    if (info.kind == TypeKind::Module)
        info.dllName = string(datatype1);
    readImplTypes(info, datatype1, implCount);
    const int nFuncs = elements & 0xFFFF, nVars = elements >> 16;
    info.funcs = info.vars = {qint32(out_.funcs.size()), 0};
    info.vars.first = qint32(out_.vars.size());
    if (nFuncs + nVars > 0)
        readMembers(info, u32(p + 0x04), nFuncs, nVars);
    out_.typeInfos.push_back(std::move(info));
}

bool Reader::pointerSized(const TypeLibData& d, TypeId id, int depth) const {
    const TypeDesc& t = d.types[id];
    switch (t.vt) {
    case vt::Bstr:
    case vt::Unknown:
    case vt::Dispatch:
    case vt::Ptr:
    case vt::SafeArray:
    case vt::LpStr:
    case vt::LpWStr:
        return true;
    case vt::UserDefined: {
        const TypeRef& r = d.refs[t.ref];
        const TypeLib* lib = r.library < 0 ? nullptr : d.imports[r.library].library.get();
        if (r.index < 0 || (r.library >= 0 && !lib))
            return false;
        const TypeInfo& target = lib ? lib->typeInfos()[r.index] : d.typeInfos[r.index];
        if (target.kind == TypeKind::Alias && !lib && depth < MaxTypeDepth)
            return pointerSized(d, target.alias, depth + 1);
        return target.kind == TypeKind::Interface || target.kind == TypeKind::Dispatch ||
               target.kind == TypeKind::Coclass;
    }
    default:
        return false;
    }
}

// Vantor is a 64-bit program: the type services present what holds a pointer in a 32-bit
// library (an interface, a class, an alias of a pointer-sized type or of VARIANT) at 64 bits.
void Reader::widenPointers(TypeLibData& d) const {
    if (!narrowPointers())
        return;
    for (TypeInfo& info : d.typeInfos) {
        if (info.kind == TypeKind::Interface || info.kind == TypeKind::Dispatch ||
            info.kind == TypeKind::Coclass ||
            (info.kind == TypeKind::Alias && pointerSized(d, info.alias, 0))) {
            info.sizeInstance = info.alignment = 8;
        } else if (info.kind == TypeKind::Alias && d.types[info.alias].vt == vt::Variant) {
            info.sizeInstance = 24;
            info.alignment = 8;
        }
    }
}

TypeLib Reader::read() {
    nameCache_.assign(size_t(seg_[NameTab].length / 4 + 1), -1);
    stringCache_.assign(size_t(seg_[StringTab].length / 4 + 1), -1);
    typeCache_.assign(size_t(seg_[TypeDescTab].length / 8 + 1), -1);
    std::fill(std::begin(baseCache_), std::end(baseCache_), -1);

    const LibraryIdentity id = identity();
    out_.guid = id.guid;
    out_.major = id.major;
    out_.minor = id.minor;
    out_.lcid = id.lcid;
    out_.sysKind = quint8(varflags_ & 0xF);
    // A library read from a file has a disk image.
    out_.libFlags = quint16(u32(0x1C) | 0x8);
    out_.doc = string(u32(0x24));
    out_.helpStringContext = u32(0x28);
    out_.helpContext = u32(0x2C);
    out_.name = name(u32(0x38));
    out_.helpFile = string(u32(0x3C));
    dispatchPos_ = u32(0x4C);

    // Sized up front so that reading appends without moving what it has read.
    size_t funcs = 0, vars = 0;
    for (quint32 i = 0; i < count_; ++i) {
        const qint64 p = at(TypeInfoTab, u32(offsets_ + 4 * i), TypeInfoSize, "a type info");
        const quint32 nameOff = u32(p + 0x34), elements = u32(p + 0x18);
        if (nameOff != None)
            hrefToIndex_.emplace(nameHref(nameOff), qint32(i));
        funcs += elements & 0xFFFF;
        vars += elements >> 16;
    }
    // A function record is at least 0x18 bytes, so the file bounds what is reserved.
    funcs = std::min(funcs, size_t(d_.size() / 0x18));
    vars = std::min(vars, size_t(d_.size() / 0x14));
    out_.typeInfos.reserve(count_);
    out_.funcs.reserve(funcs * 3 / 2);
    out_.params.reserve(funcs * 2);
    out_.vars.reserve(vars);
    for (quint32 i = 0; i < count_; ++i)
        readTypeInfo(int(i));
    const qint32 dispatch = ref(dispatchPos_);
    resolveImports(out_, resolver_);
    widenPointers(out_);
    presentViews(out_, dispatch);
    return TypeLib(std::move(out_));
}

} // namespace

bool isMsft(QByteArrayView bytes) {
    return bytes.size() >= 4 && bytes.first(4) == "MSFT";
}

TypeLib readMsft(QByteArrayView bytes, LibraryResolver* resolver) {
    Reader r(bytes, resolver);
    r.readHeader();
    return r.read();
}

LibraryIdentity readMsftIdentity(QByteArrayView bytes) {
    Reader r(bytes, nullptr);
    r.readHeader();
    return r.identity();
}

} // namespace vantor::tli
