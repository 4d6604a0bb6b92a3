#include "tli/msft_reader.h"

#include "text/win1252.h"
#include "tli/api_views.h"
#include "tli/errors.h"
#include "tli/library_resolver.h"
#include "tli/msft_layout.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vantor::tli {
namespace {

using namespace msft;

constexpr int MaxTypeDepth = 32;

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
    quint32 nameHref(quint32 off) {
        return u32(at(NameTab, off, nameEntry::Text, "a name") + nameEntry::HrefType);
    }
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
    void resolveImports();
    // Vantor is a 64-bit program: the type services present the pointer-sized values of a
    // 32-bit library (vtable offsets, the size of an interface or class) at 64 bits.
    bool narrowPointers() const { return (varflags_ & header::SysKindMask) == 1; }

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
    need(0, header::Size);
    if (u32(header::Magic) != header::Signature)
        failLoad(QStringLiteral("not an MSFT type library (no MSFT signature)"));
    varflags_ = u32(header::VarFlags);
    count_ = u32(header::TypeInfoCount);
    if (count_ > 0xFFFF)
        failLoad(QStringLiteral("the header claims %1 type infos").arg(count_));
    offsets_ = header::typeInfoOffsets(varflags_);
    need(segmentEntry(varflags_, count_, 0), qint64(SegmentCount) * segment::Size);
    for (int s = 0; s < SegmentCount; ++s) {
        const qint64 entry = segmentEntry(varflags_, count_, s);
        const quint32 off = u32(entry + segment::Offset), len = u32(entry + segment::Length);
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
    const quint32 pos = u32(header::PosGuid);
    if (pos != None)
        id.guid = guid(pos);
    const quint32 version = u32(header::Version);
    id.major = quint16(version);
    id.minor = quint16(version >> 16);
    id.lcid = u32(header::Lcid);
    return id;
}

QString Reader::name(quint32 off) {
    if (off == None)
        return {};
    const qint64 entry = at(NameTab, off, nameEntry::Text, "a name");
    const bool cacheable = off % 4 == 0;
    if (cacheable && nameCache_[off / 4] >= 0)
        return namePool_[nameCache_[off / 4]];
    const quint8 len = u8(entry + nameEntry::Length);
    QString s = win1252::decode(d_.sliced(at(NameTab, off + nameEntry::Text, len, "a name"), len));
    if (cacheable) {
        nameCache_[off / 4] = qint32(namePool_.size());
        namePool_.push_back(s);
    }
    return s;
}

QString Reader::string(quint32 off) {
    if (off == None)
        return {};
    const qint64 entry = at(StringTab, off, stringEntry::Text, "a string");
    const bool cacheable = off % 4 == 0;
    if (cacheable && stringCache_[off / 4] >= 0)
        return stringPool_[stringCache_[off / 4]];
    const quint16 len = u16(entry + stringEntry::Length);
    QString s =
        win1252::decode(d_.sliced(at(StringTab, off + stringEntry::Text, len, "a string"), len));
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
    if (encoded & typeDesc::Inline) {
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
    const qint64 p = at(TypeDescTab, encoded, typeDesc::Size, "a type descriptor");
    qint32& cached = typeCache_[encoded / typeDesc::Size];
    if (cached >= 0)
        return cached;
    const quint32 w0 = u32(p + typeDesc::VarType), w1 = u32(p + typeDesc::Inner);
    TypeDesc t{quint16(w0)};
    switch (t.vt) {
    case vt::Ptr:
    case vt::SafeArray:
        t.inner = type(w1, depth + 1);
        break;
    case vt::CArray: {
        const qint64 a = at(ArrayDescTab, w1, arrayDesc::Bounds, "an array descriptor");
        t.dims = u16(a + arrayDesc::Dims);
        at(ArrayDescTab, w1 + arrayDesc::Bounds, arrayDesc::BoundSize * qint64(t.dims),
           "an array descriptor");
        t.inner = type(u32(a + arrayDesc::Element), depth + 1);
        t.firstBound = qint32(out_.bounds.size());
        for (int k = 0; k < t.dims; ++k) {
            const qint64 bound = a + arrayDesc::Bounds + arrayDesc::BoundSize * k;
            out_.bounds.push_back({qint32(u32(bound + arrayDesc::BoundLower)),
                                   u32(bound + arrayDesc::BoundElements)});
        }
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
    const qint64 p = at(ImpFiles, fileOffset, importFile::Text, "an imported library");
    ImportedLibrary lib;
    lib.guid = guid(u32(p + importFile::Guid));
    lib.lcid = u32(p + importFile::Lcid);
    const quint32 version = u32(p + importFile::Version);
    lib.major = quint16(version);
    lib.minor = quint16(version >> 16);
    const quint16 len = u16(p + importFile::Length) >> 2;
    lib.fileName = win1252::decode(
        d_.sliced(at(ImpFiles, fileOffset + importFile::Text, len, "a file name"), len));
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
        if (href % typeinfo::Size == 0 && href / typeinfo::Size < count_)
            r.stored = qint32(href / typeinfo::Size);
        // The services find a local type by the hreftype its name's entry records, so a type
        // whose name entry points at another type info cannot be reached at all.
        auto hit = hrefToIndex_.find(href);
        if (hit != hrefToIndex_.end())
            r.index = hit->second;
    } else if (href != None && (href & 3) == 1) {
        const qint64 p = at(ImpInfo, href - 1, importInfo::Size, "an imported type");
        const quint32 flags = u32(p + importInfo::Flags);
        r.library = importSlot(u32(p + importInfo::File));
        r.byGuid = flags & importInfo::ByGuid;
        if (r.byGuid)
            r.guid = guid(u32(p + importInfo::GuidOrIndex));
        else
            r.stored = qint32(u32(p + importInfo::GuidOrIndex));
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
    if (len < func::MinSize)
        failLoad(QStringLiteral("a function record of %1 bytes is too short").arg(len));
    Func f;
    f.memid = memid;
    // A function without a name of its own is the second accessor of the one before it.
    f.name = nameOff == None ? previous : name(nameOff);
    f.returnType = type(u32(rec + func::ReturnType));
    f.flags = quint16(u32(rec + func::Flags));
    f.vtableOffset = qint16(u16(rec + func::VtableOffset) & ~1u);
    if (narrowPointers())
        f.vtableOffset = qint16(f.vtableOffset * 2);
    const quint32 fk = u32(rec + func::FuncKind);
    f.funcKind = fk & 7;
    f.invokeKind = (fk >> 3) & 0xF;
    f.callConv = (fk >> 8) & 0xF;
    const quint16 nParams = u16(rec + func::ParamCount);
    f.optionalCount = qint16(u16(rec + func::OptionalCount));
    const bool defaults = fk & func::HasDefaults;
    const qint64 paramBytes = param::Size * qint64(nParams),
                 defaultBytes = defaults ? 4 * qint64(nParams) : 0;
    if (func::Optional + paramBytes + defaultBytes > len)
        failLoad(QStringLiteral("a function record of %1 bytes cannot hold its %2 parameters")
                     .arg(len)
                     .arg(nParams));
    memberBytes_ += paramBytes + defaultBytes;
    if (memberBytes_ > d_.size())
        failLoad(QStringLiteral("the function records overlap"));
    const qint64 optional = (len - func::Optional - paramBytes - defaultBytes) / 4;
    auto opt = [&](int i, quint32 otherwise) {
        return i < optional ? u32(rec + func::Optional + 4 * i) : otherwise;
    };
    f.helpContext = opt(0, 0);
    f.doc = string(opt(1, None));
    if (f.funcKind == func::Static && optional > 2) {
        const quint32 entry = opt(2, None);
        if (fk & func::EntryIsOrdinal)
            f.entryOrdinal = qint32(entry & 0xFFFF);
        else if (entry != None && qint64(entry) < seg_[StringTab].length)
            f.entryName = string(entry);
    }
    f.helpStringContext = opt(5, 0);

    const qint64 params = rec + len - paramBytes, defaultSlots = params - defaultBytes;
    f.params = {qint32(out_.params.size()), nParams};
    for (int k = 0; k < nParams; ++k) {
        const qint64 p = params + param::Size * k;
        Param prm;
        prm.type = type(u32(p + param::Type));
        prm.name = name(u32(p + param::Name));
        prm.flags = quint16(u32(p + param::Flags));
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
    if (len < var::MinSize)
        failLoad(QStringLiteral("a variable record of %1 bytes is too short").arg(len));
    Var v;
    v.memid = memid;
    v.name = name(nameOff);
    v.type = type(u32(rec + var::Type));
    v.flags = quint16(u32(rec + var::Flags));
    v.varKind = VarKind(quint8(u16(rec + var::VarKind)));
    const quint32 data = u32(rec + var::Data);
    if (v.varKind == VarKind::Const)
        v.value = value(data);
    else
        v.instanceOffset = qint32(data);
    if (len >= var::HelpContext + 4)
        v.helpContext = u32(rec + var::HelpContext);
    if (len >= var::HelpString + 4)
        v.doc = string(u32(rec + var::HelpString));
    if (len >= var::HelpStringContext + 4)
        v.helpStringContext = u32(rec + var::HelpStringContext);
    out_.vars.push_back(std::move(v));
}

void Reader::readMembers(TypeInfo& info, qint64 block, int nFuncs, int nVars) {
    const qint64 n = nFuncs + nVars;
    // Records take bytes of their own: more of them than the file could hold means blocks are
    // shared, which would multiply the work.
    memberBytes_ += func::MinSize * qint64(nFuncs) + var::MinSize * qint64(nVars);
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
        const qint64 len = u32(rec + func::Length) & 0xFFFF;
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
            if (++refTabUses_ * impl::Size > seg_[RefTab].length)
                failLoad(QStringLiteral("the implemented types of \"%1\" loop or overlap")
                             .arg(info.name));
            const qint64 p = at(RefTab, next, impl::Size, "an implemented type");
            out_.implTypes.push_back({quint16(u32(p + impl::Flags)), ref(u32(p + impl::Ref))});
            next = u32(p + impl::Next);
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
    const qint64 p = at(TypeInfoTab, u32(offsets_ + 4 * index), typeinfo::Size, "a type info");
    const quint32 kind = u32(p + typeinfo::Kind);
    if ((kind & 0xF) > quint32(TypeKind::Union))
        failLoad(QStringLiteral("type info %1 is of unknown kind %2").arg(index).arg(kind & 0xF));
    TypeInfo info;
    info.kind = TypeKind(kind & 0xF);
    info.alignment = quint16((kind >> 11) & 0x1F);
    const quint32 elements = u32(p + typeinfo::Elements);
    info.guid = guid(u32(p + typeinfo::Guid));
    info.flags = quint16(u32(p + typeinfo::Flags));
    info.name = name(u32(p + typeinfo::Name));
    const quint32 version = u32(p + typeinfo::Version);
    info.major = quint16(version);
    info.minor = quint16(version >> 16);
    info.doc = string(u32(p + typeinfo::HelpString));
    info.helpStringContext = u32(p + typeinfo::HelpStringContext);
    info.helpContext = u32(p + typeinfo::HelpContext);
    const quint16 implCount = u16(p + typeinfo::ImplCount);
    info.sizeVft = u16(p + typeinfo::SizeVft);
    info.sizeInstance = u32(p + typeinfo::SizeInstance);
    const quint32 datatype1 = u32(p + typeinfo::Datatype1);
    if (info.kind == TypeKind::Alias)
        info.alias = type(datatype1);
    if (info.kind == TypeKind::Module)
        info.dllName = string(datatype1);
    readImplTypes(info, datatype1, implCount);
    const int nFuncs = elements & 0xFFFF, nVars = elements >> 16;
    info.funcs = info.vars = {qint32(out_.funcs.size()), 0};
    info.vars.first = qint32(out_.vars.size());
    if (nFuncs + nVars > 0)
        readMembers(info, u32(p + typeinfo::MemberBlock), nFuncs, nVars);
    if (narrowPointers() && (info.kind == TypeKind::Interface || info.kind == TypeKind::Dispatch ||
                             info.kind == TypeKind::Coclass))
        info.sizeInstance = info.alignment = 8;
    out_.typeInfos.push_back(std::move(info));
}

void Reader::resolveImports() {
    for (ImportedLibrary& lib : out_.imports)
        if (resolver_)
            lib.library = resolver_->find(lib.guid, lib.major, lib.minor, lib.lcid, lib.fileName);
    for (TypeRef& r : out_.refs) {
        if (r.library < 0)
            continue;
        const TypeLib* lib = out_.imports[r.library].library.get();
        if (!lib)
            continue;
        const auto infos = lib->typeInfos();
        if (!r.byGuid) {
            if (r.stored >= 0 && size_t(r.stored) < infos.size())
                r.index = r.stored;
            continue;
        }
        for (size_t i = 0; i < infos.size(); ++i)
            if (infos[i].guid == r.guid) {
                r.index = qint32(i);
                break;
            }
    }
}

TypeLib Reader::read() {
    nameCache_.assign(size_t(seg_[NameTab].length / 4 + 1), -1);
    stringCache_.assign(size_t(seg_[StringTab].length / 4 + 1), -1);
    typeCache_.assign(size_t(seg_[TypeDescTab].length / typeDesc::Size + 1), -1);
    std::fill(std::begin(baseCache_), std::end(baseCache_), -1);

    const LibraryIdentity id = identity();
    out_.guid = id.guid;
    out_.major = id.major;
    out_.minor = id.minor;
    out_.lcid = id.lcid;
    out_.sysKind = quint8(varflags_ & header::SysKindMask);
    // A library read from a file has a disk image.
    out_.libFlags = quint16(u32(header::Flags) | 0x8);
    out_.doc = string(u32(header::HelpString));
    out_.helpStringContext = u32(header::HelpStringContext);
    out_.helpContext = u32(header::HelpContext);
    out_.name = name(u32(header::Name));
    out_.helpFile = string(u32(header::HelpFile));
    dispatchPos_ = u32(header::DispatchPos);

    // Sized up front so that reading appends without moving what it has read.
    size_t funcs = 0, vars = 0;
    for (quint32 i = 0; i < count_; ++i) {
        const qint64 p = at(TypeInfoTab, u32(offsets_ + 4 * i), typeinfo::Size, "a type info");
        const quint32 nameOff = u32(p + typeinfo::Name), elements = u32(p + typeinfo::Elements);
        if (nameOff != None)
            hrefToIndex_.emplace(nameHref(nameOff), qint32(i));
        funcs += elements & 0xFFFF;
        vars += elements >> 16;
    }
    // Records have a least size, so the file bounds what is reserved.
    funcs = std::min(funcs, size_t(d_.size() / func::MinSize));
    vars = std::min(vars, size_t(d_.size() / var::MinSize));
    out_.typeInfos.reserve(count_);
    out_.funcs.reserve(funcs * 3 / 2);
    out_.params.reserve(funcs * 2);
    out_.vars.reserve(vars);
    for (quint32 i = 0; i < count_; ++i)
        readTypeInfo(int(i));
    const qint32 dispatch = ref(dispatchPos_);
    resolveImports();
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
