#include "tli/sltg_reader.h"

#include "text/win1252.h"
#include "tli/api_views.h"
#include "tli/errors.h"
#include "tli/imports.h"
#include "tli/session.h"
#include "tli/sltg_layout.h"

#include <QtEndian>
#include <cstring>
#include <map>
#include <unordered_map>

namespace vantor::tli {
namespace {

using namespace sltg;

constexpr int MaxTypeDepth = 32;
constexpr int VarTypeCount = type_word::VarType + 1;
// The library that holds IDispatch: a reference to its type 4 is the library's IDispatch.
constexpr Guid StdOle{0x00020430, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr quint16 StdOleDispatch = 4;

QString hex(quint64 v) {
    return QStringLiteral("0x") + QString::number(v, 16).toUpper();
}

struct Extent {
    qint64 begin = 0;
    qint64 length = 0;
    qint64 end() const { return begin + length; }
};

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : d_(bytes) {}

    void readLayout();
    LibraryIdentity identity() const { return id_; }
    TypeLib read(LibraryResolver* resolver);

private:
    struct Entry {
        quint16 name = 0;
        quint32 helpContext = 0;
        Guid guid;
    };
    struct Layer {
        quint16 vt;
        qint32 firstBound;
        quint16 dims;
    };

    void need(qint64 off, qint64 len) const {
        if (off < 0 || len < 0 || off > d_.size() || len > d_.size() - off)
            failLoad(QStringLiteral("a read of %1 bytes at offset %2 leaves the data (%3 bytes)")
                         .arg(len)
                         .arg(hex(quint64(off)))
                         .arg(d_.size()));
    }
    quint8 u8(qint64 off) const {
        need(off, 1);
        return quint8(d_[off]);
    }
    quint16 u16(qint64 off) const {
        need(off, 2);
        return qFromLittleEndian<quint16>(d_.data() + off);
    }
    quint32 u32(qint64 off) const {
        need(off, 4);
        return qFromLittleEndian<quint32>(d_.data() + off);
    }
    Guid guid(qint64 off) const {
        need(off, 16);
        Guid g;
        g.data1 = u32(off);
        g.data2 = u16(off + 4);
        g.data3 = u16(off + 6);
        memcpy(g.data4.data(), d_.data() + off + 8, 8);
        return g;
    }
    // `len` bytes at `rel` in the current type info's member body, checked against its block.
    qint64 inBody(qint64 rel, qint64 len) const {
        if (rel < 0 || len > body_.length - rel)
            failLoad(QStringLiteral("%1 bytes at %2 lie outside the block of \"%3\"")
                         .arg(len)
                         .arg(hex(quint64(rel)))
                         .arg(current_));
        return body_.begin + rel;
    }
    quint16 word(qint64 abs) const { return u16(inBody(abs - body_.begin, 2)); }

    QString text(qint64& p) const;
    QString name(quint16 off);
    void readLibrary(Extent lib);
    void readTypeInfo(size_t index);
    void readRefs(qint64 table, qint64 blockEnd);
    qint32 refFor(quint32 libOffset, quint32 number);
    qint32 importAt(quint32 offset);
    qint32 localRef(quint32 number);
    qint32 noneRef();
    TypeId baseType(quint16 v);
    TypeId typeAt(qint64& p);
    void readFuncs(TypeInfo& info, quint16 first, int count);
    void readVars(TypeInfo& info, quint16 first, int count);
    void readImpls(TypeInfo& info, quint16 first);
    qint32 constant(quint8 kind, quint16 data, TypeId type);

    QByteArrayView d_;
    LibraryIdentity id_;
    TypeLibData out_;
    std::vector<Extent> blocks_; // the type info blocks, in file order
    std::vector<Entry> entries_;
    qint64 nameTable_ = 0;
    int pointerSize_ = 4;

    Extent body_; // the current type info's member body, up to the end of its block
    QString current_;
    std::vector<qint32> localRefs_;
    std::map<std::pair<qint32, quint32>, qint32> refs_;
    std::unordered_map<quint32, qint32> imports_;
    qint32 dispatchRef_ = -1, noneRef_ = -1;
    std::vector<qint32> nameCache_;
    std::vector<QString> namePool_;
    TypeId baseCache_[VarTypeCount];
};

QString Reader::text(qint64& p) const {
    const quint16 len = u16(p);
    p += 2;
    if (len == None16)
        return {};
    need(p, len);
    p += len;
    return win1252::decode(d_.sliced(p - len, len));
}

QString Reader::name(quint16 off) {
    if (nameCache_[off] >= 0)
        return namePool_[nameCache_[off]];
    const qint64 start = nameTable_ + off;
    need(start, 0);
    const void* end = memchr(d_.data() + start, 0, size_t(d_.size() - start));
    if (!end)
        failLoad(QStringLiteral("the name at %1 has no end").arg(hex(off)));
    const qint64 len = static_cast<const char*>(end) - (d_.data() + start);
    nameCache_[off] = qint32(namePool_.size());
    namePool_.push_back(win1252::decode(d_.sliced(start, len)));
    return namePool_.back();
}

void Reader::readLayout() {
    need(0, header::Size);
    if (u32(0) != Signature)
        failLoad(QStringLiteral("not an SLTG type library (no SLTG signature)"));
    const int entries = int(u16(header::BlockCount)) - 1;
    if (entries < 1)
        failLoad(QStringLiteral("the header claims %1 blocks").arg(entries + 1));
    const qint64 magic = header::Size + qint64(block_entry::Size) * entries;
    need(magic, DirectoryMagicSize);
    if (d_.sliced(magic, DirectoryMagicSize) != QByteArrayView(DirectoryMagic, DirectoryMagicSize))
        failLoad(QStringLiteral("the block directory lacks its CompObj mark"));
    qint64 pos = magic + DirectoryMagicSize + qint64(IndexStringSize) * (entries - 1) + PaddingSize;
    int order = int(u16(header::FirstBlock)) - 1;
    for (int n = 0;; ++n) {
        if (order < 0 || order >= entries || n >= entries)
            failLoad(QStringLiteral("the block chain leaves its directory or loops"));
        const qint64 entry = header::Size + qint64(block_entry::Size) * order;
        const Extent block{pos, u32(entry + block_entry::Length)};
        need(block.begin, block.length);
        const quint16 next = u16(entry + block_entry::Next);
        if (next == 0) {
            readLibrary(block);
            return;
        }
        blocks_.push_back(block);
        pos = block.end();
        order = next - 1;
    }
}

void Reader::readLibrary(Extent lib) {
    const qint64 at = lib.begin;
    if (u16(at) != lib_block::Magic)
        failLoad(QStringLiteral("the library block lacks its mark"));
    qint64 p = at + lib_block::Reserved06;
    if (const quint16 skip = u16(p); skip != None16)
        p += skip;
    p += 2;
    out_.doc = text(p);
    out_.helpFile = text(p);
    // The one help context the format stores serves as both.
    out_.helpContext = out_.helpStringContext = u32(p + lib_tail::HelpContext);
    out_.sysKind = quint8(u16(p + lib_tail::SysKind));
    pointerSize_ = out_.sysKind == 0 ? 2 : out_.sysKind == 3 ? 8 : 4;
    // The services keep a neutral-sublanguage locale as its primary language, else 0.
    const quint16 lcid = u16(p + lib_tail::Lcid);
    id_.lcid = (lcid >> 10) == 0 ? lcid & 0x3FF : 0;
    out_.libFlags = u16(p + lib_tail::LibFlags);
    id_.major = u16(p + lib_tail::Major);
    id_.minor = u16(p + lib_tail::Minor);
    id_.guid = guid(p + lib_tail::Guid);
    p += lib_tail::Size + lib_tail::Slots;
    const quint16 count = u16(p);
    p += 2;
    if (count != blocks_.size())
        failLoad(QStringLiteral("the library lists %1 type infos but holds %2")
                     .arg(count)
                     .arg(blocks_.size()));
    entries_.resize(count);
    for (Entry& e : entries_) {
        const quint16 index = u16(p);
        qint64 strings = index == None16 ? 0 : index;
        if (const quint16 other = u16(p + 2 + strings); other != None16)
            strings += other;
        const qint64 q = p + strings;
        e.name = u16(q + type_entry::Name);
        const qint64 r = q + u16(q + type_entry::DocLength);
        need(r, type_entry::Size);
        e.helpContext = u32(r + type_entry::HelpContext);
        e.guid = guid(r + type_entry::Guid);
        p = r + type_entry::Size;
    }
    qint64 names = at + u32(p);
    if (u16(names) == NameTableShifted)
        names += NameTableShift;
    nameTable_ = names + NameTableSkip;
    need(nameTable_, 1);
    nameCache_.assign(0x10000, -1);
    out_.name = name(u16(at + lib_block::Name));
    out_.guid = id_.guid;
    out_.major = id_.major;
    out_.minor = id_.minor;
    out_.lcid = id_.lcid;
}

qint32 Reader::noneRef() {
    if (noneRef_ < 0) {
        noneRef_ = qint32(out_.refs.size());
        out_.refs.push_back(TypeRef{});
    }
    return noneRef_;
}

qint32 Reader::importAt(quint32 offset) {
    if (auto it = imports_.find(offset); it != imports_.end())
        return it->second;
    // "*\G{guid}#major.minor#lcid#file#"
    const QString reference = name(quint16(offset));
    const QStringList parts = reference.mid(41).split(u'#');
    const std::optional<Guid> g = parseGuid(QStringView(reference).mid(3, 38));
    const QStringList version = parts.value(1).split(u'.');
    bool okMajor = false, okMinor = false, okLcid = false;
    ImportedLibrary lib;
    lib.major = quint16(version.value(0).toUInt(&okMajor));
    lib.minor = quint16(version.value(1).toUInt(&okMinor));
    lib.lcid = parts.value(2).toUInt(&okLcid, 16);
    lib.fileName = parts.value(3);
    if (!reference.startsWith(QLatin1String("*\\G")) || !g || parts.size() < 4 || !okMajor ||
        !okMinor || !okLcid)
        failLoad(QStringLiteral("the imported library \"%1\" is not named as GUID, version, "
                                "locale and file")
                     .arg(reference));
    lib.guid = *g;
    const qint32 slot = qint32(out_.imports.size());
    out_.imports.push_back(std::move(lib));
    imports_.emplace(offset, slot);
    return slot;
}

qint32 Reader::refFor(quint32 libOffset, quint32 number) {
    const qint32 library = libOffset == None16 ? -1 : importAt(libOffset);
    const auto key = std::make_pair(library, number);
    if (auto it = refs_.find(key); it != refs_.end())
        return it->second;
    TypeRef r;
    r.library = library;
    r.stored = qint32(number);
    if (library < 0 && number < entries_.size())
        r.index = qint32(number);
    const qint32 index = qint32(out_.refs.size());
    out_.refs.push_back(r);
    refs_.emplace(key, index);
    if (library >= 0 && dispatchRef_ < 0 && number == StdOleDispatch &&
        out_.imports[library].guid == StdOle)
        dispatchRef_ = index;
    return index;
}

qint32 Reader::localRef(quint32 number) {
    return number < localRefs_.size() ? localRefs_[number] : noneRef();
}

void Reader::readRefs(qint64 table, qint64 blockEnd) {
    if (u8(table) != ref_table::Magic)
        failLoad(QStringLiteral("the reference table of \"%1\" lacks its mark").arg(current_));
    const quint32 length = u32(table + ref_table::Length);
    qint64 p = table + ref_table::Data + qint64(length) + ref_table::NamesGap;
    for (quint32 k = 0; k < length / 8; ++k) {
        const quint16 stored = u16(p), len = stored == None16 ? 0 : stored;
        // Within the block: a table running past it would be read again for every type info.
        if (p + 2 + len > blockEnd)
            failLoad(QStringLiteral("the references of \"%1\" run past its block").arg(current_));
        const QByteArrayView s = d_.sliced(p + 2, len);
        p += 2 + len;
        // "*\R<library>*#<type>", both hexadecimal.
        const qsizetype hash = s.indexOf("*#");
        bool okLib = false, okType = false;
        const uint lib = hash > 3 ? s.sliced(3, hash - 3).toUInt(&okLib, 16) : 0;
        const uint type = hash > 3 ? s.sliced(hash + 2).toUInt(&okType, 16) : 0;
        if (!s.startsWith("*\\R") || !okLib || !okType || lib > None16)
            failLoad(QStringLiteral("reference %1 of \"%2\" is not a type reference")
                         .arg(k)
                         .arg(current_));
        localRefs_.push_back(refFor(lib, type));
    }
}

TypeId Reader::baseType(quint16 v) {
    TypeId& id = baseCache_[v];
    if (id < 0) {
        id = TypeId(out_.types.size());
        out_.types.push_back(TypeDesc{v});
    }
    return id;
}

// The type whose words start at `p`; leaves `p` after them.
TypeId Reader::typeAt(qint64& p) {
    Layer layers[MaxTypeDepth + 1];
    int n = 0;
    auto push = [&](Layer l) {
        if (n == MaxTypeDepth)
            failLoad(QStringLiteral("a type of \"%1\" nests deeper than %2 levels")
                         .arg(current_)
                         .arg(MaxTypeDepth));
        layers[n++] = l;
    };
    TypeId id = -1;
    while (id < 0) {
        const quint16 w = word(p);
        p += 2;
        if ((w & type_word::PointerBits) == type_word::PointerBits)
            push({vt::Ptr, 0, 0});
        const quint16 v = w & type_word::VarType;
        switch (v) {
        case vt::Ptr:
            push({vt::Ptr, 0, 0});
            break;
        case vt::SafeArray:
            word(p);
            p += 2;
            push({vt::SafeArray, 0, 0});
            break;
        case vt::CArray: {
            const qint64 a = body_.begin + word(p);
            p += 2;
            const quint16 dims = word(a + type_word::ArrayDims);
            const qint64 b = inBody(a - body_.begin + type_word::ArrayBounds, 8 * qint64(dims));
            // Each array takes bounds bytes of its own: more than the file holds means shared.
            if (out_.bounds.size() + dims > size_t(d_.size()))
                failLoad(QStringLiteral("the array bounds of \"%1\" overlap").arg(current_));
            push({vt::CArray, qint32(out_.bounds.size()), dims});
            for (int k = 0; k < dims; ++k)
                out_.bounds.push_back({qint32(u32(b + 8 * k + 4)), u32(b + 8 * k)});
            break;
        }
        case vt::UserDefined: {
            const quint16 ref = word(p);
            p += 2;
            id = TypeId(out_.types.size());
            TypeDesc t{vt::UserDefined};
            t.ref = localRef(ref / 4);
            out_.types.push_back(t);
            break;
        }
        default:
            id = baseType(v);
        }
    }
    while (n > 0) {
        const Layer& l = layers[--n];
        TypeDesc t{l.vt};
        t.inner = id;
        t.firstBound = l.firstBound;
        t.dims = l.dims;
        id = TypeId(out_.types.size());
        out_.types.push_back(t);
    }
    return id;
}

quint16 paramFlags(quint16 w) {
    quint16 f = flag::ParamIn;
    if ((w & (type_word::InOut | type_word::Out)) == (type_word::InOut | type_word::Out))
        f = 0;
    else if (w & type_word::InOut)
        f = flag::ParamIn | flag::ParamOut;
    else if (w & type_word::Out)
        f = flag::ParamOut;
    if (w & type_word::Lcid)
        f |= flag::ParamLcid;
    if (w & type_word::Retval)
        f |= flag::ParamRetval;
    return f;
}

void Reader::readFuncs(TypeInfo& info, quint16 first, int count) {
    info.funcs = {qint32(out_.funcs.size()), count};
    quint16 off = first;
    for (int i = 0; i < count; ++i) {
        if (off == None16)
            failLoad(QStringLiteral("the functions of \"%1\" end after %2 of %3")
                         .arg(current_)
                         .arg(i)
                         .arg(count));
        const qint64 r = inBody(off, func::Size);
        const quint8 magic = u8(r + func::Magic);
        Func f;
        switch (magic & func::KindMask) {
        case func::Virtual:
            f.funcKind = 1;
            break;
        case func::Dispatch:
            f.funcKind = 4;
            break;
        case func::Static:
            f.funcKind = 3;
            break;
        default:
            failLoad(QStringLiteral("function %1 of \"%2\" is of unknown kind %3")
                         .arg(i)
                         .arg(current_, hex(magic)));
        }
        f.invokeKind = u8(r + func::Invoke) >> 4;
        f.name = name(u16(r + func::Name));
        f.memid = qint32(u32(r + func::MemberId));
        const quint8 callArgs = u8(r + func::CallArgs), ret = u8(r + func::ReturnInfo);
        f.callConv = callArgs & 7;
        f.optionalCount = qint16((ret & 0x7E) >> 1);
        // Stored for 32-bit (or 16-bit) pointers; the services count 64-bit slots.
        if (f.funcKind != 4)
            f.vtableOffset = qint16(int(u16(r + func::VtableSlot) & ~1) * 8 / pointerSize_);
        if (magic & func::HasFlags)
            f.flags = word(r + func::Flags);
        qint64 rt = ret & func::InlineReturn ? r + func::ReturnType
                                             : body_.begin + u16(r + func::ReturnType);
        f.returnType = typeAt(rt);
        const int nParams = callArgs >> 3;
        f.params = {qint32(out_.params.size()), nParams};
        qint64 a = body_.begin + u16(r + func::ArgsOffset);
        for (int k = 0; k < nParams; ++k) {
            const quint16 nameWord = word(a);
            a += 2;
            Param prm;
            prm.name = (nameWord & ~func::InlineType) == func::SameName
                           ? f.name
                           : name(nameWord & ~func::InlineType);
            qint64 t = a;
            if (!(nameWord & func::InlineType)) {
                t = body_.begin + word(a);
                a += 2;
            }
            prm.flags = paramFlags(word(t));
            prm.type = typeAt(t);
            if (nameWord & func::InlineType)
                a = t;
            if (nParams - k <= f.optionalCount)
                prm.flags |= flag::ParamOptional;
            out_.params.push_back(std::move(prm));
        }
        out_.funcs.push_back(std::move(f));
        off = u16(r + func::Next);
    }
}

qint32 Reader::constant(quint8 kind, quint16 data, TypeId type) {
    Value val;
    val.vt = vt::Int;
    if (kind & var::InlineValue) {
        val.integer = data;
    } else {
        switch (out_.types[type].vt) {
        case vt::LpStr:
        case vt::LpWStr:
        case vt::Bstr: {
            qint64 p = inBody(data, 2);
            val.vt = vt::Bstr;
            val.text = text(p);
            break;
        }
        case vt::I2:
        case vt::UI2:
        case vt::I4:
        case vt::UI4:
        case vt::Int:
        case vt::UInt:
            val.integer = qint32(u32(inBody(data, 4)));
            break;
        default:
            val.state = Value::State::Invalid;
        }
    }
    out_.values.push_back(std::move(val));
    return qint32(out_.values.size() - 1);
}

void Reader::readVars(TypeInfo& info, quint16 first, int count) {
    info.vars = {qint32(out_.vars.size()), count};
    quint16 off = first;
    QString previous;
    for (int i = 0; i < count; ++i) {
        if (off == None16)
            failLoad(QStringLiteral("the variables of \"%1\" end after %2 of %3")
                         .arg(current_)
                         .arg(i)
                         .arg(count));
        const qint64 r = inBody(off, var::Size);
        const quint8 magic = u8(r + var::Magic), kind = u8(r + var::Kind);
        if (magic != var::Plain && magic != var::WithFlags)
            failLoad(QStringLiteral("variable %1 of \"%2\" lacks its mark").arg(i).arg(current_));
        Var v;
        v.memid = qint32(u32(r + var::MemberId));
        const quint16 nameOff = u16(r + var::Name);
        v.name = nameOff == func::SameName ? previous : name(nameOff);
        qint64 t = kind & var::InlineType ? r + var::Type : body_.begin + u16(r + var::Type);
        v.type = typeAt(t);
        const quint16 data = u16(r + var::Data);
        if (kind & var::Dispatch) {
            v.varKind = VarKind::Dispatch;
        } else if (kind & var::Constant) {
            v.varKind = VarKind::Const;
            v.value = constant(kind, data, v.type);
        } else {
            v.instanceOffset = data;
        }
        if (magic == var::WithFlags)
            v.flags = word(r + var::Flags);
        if (kind & var::ReadOnly)
            v.flags |= flag::VarReadOnly;
        previous = v.name;
        out_.vars.push_back(std::move(v));
        off = u16(r + var::Next);
    }
}

void Reader::readImpls(TypeInfo& info, quint16 first) {
    info.implTypes = {qint32(out_.implTypes.size()), 0};
    for (quint16 off = first; off != None16;) {
        const qint64 r = inBody(off, impl::Size);
        if (u16(r) != impl::Magic)
            failLoad(QStringLiteral("an implemented type of \"%1\" lacks its mark").arg(current_));
        if (++info.implTypes.count * qint64(impl::Size) > body_.length)
            failLoad(QStringLiteral("the implemented types of \"%1\" loop").arg(current_));
        out_.implTypes.push_back({u8(r + impl::Flags), localRef(u16(r + impl::Ref))});
        off = u16(r + impl::Next);
    }
}

void Reader::readTypeInfo(size_t index) {
    const Extent block = blocks_[index];
    const Entry& e = entries_[index];
    TypeInfo info;
    info.name = current_ = name(e.name);
    info.helpContext = e.helpContext;
    info.guid = e.guid;
    const qint64 h = block.begin;
    if (block.length < type_header::Size || u16(h) != type_header::Magic)
        failLoad(QStringLiteral("the block of \"%1\" is no type info").arg(current_));
    const quint8 kind = u8(h + type_header::Kind);
    if (kind > quint8(TypeKind::Union))
        failLoad(QStringLiteral("\"%1\" is of unknown kind %2").arg(current_).arg(kind));
    info.kind = TypeKind(kind);
    info.flags =
        quint16((u8(h + type_header::TypeFlags1) >> 3) | (u8(h + type_header::TypeFlags2) << 5));
    if (info.flags & flag::TypeDual)
        info.kind = TypeKind::Dispatch;
    info.major = u16(h + type_header::Major);
    info.minor = u16(h + type_header::Minor);

    const quint32 members = u32(h + type_header::ElemTable);
    if (members > block.length - member_header::Size)
        failLoad(QStringLiteral("the members of \"%1\" lie outside its block").arg(current_));
    const qint64 mh = h + members;
    body_ = {mh + member_header::Size, block.end() - mh - member_header::Size};
    const quint32 bodyLength = u32(mh + member_header::BodyLength);
    if (bodyLength > body_.length || body_.length - bodyLength < tail::Size)
        failLoad(QStringLiteral("the members of \"%1\" overrun its block").arg(current_));
    const qint64 t = body_.begin + bodyLength;

    localRefs_.clear();
    if (const quint32 refs = u32(h + type_header::RefTable); refs != None32) {
        if (refs >= block.length)
            failLoad(
                QStringLiteral("the references of \"%1\" lie outside its block").arg(current_));
        readRefs(h + refs, block.end());
    }
    info.sizeInstance = u16(t + tail::SizeInstance);
    info.alignment = u16(t + tail::Alignment);
    info.sizeVft = u16(t + tail::SizeVft);
    const int nFuncs = u16(t + tail::FuncCount), nVars = u16(t + tail::VarCount);
    // Records take bytes of their own: more of them than the block holds means shared records.
    if (qint64(nFuncs) * func::Size + qint64(nVars) * var::Size > body_.length)
        failLoad(QStringLiteral("\"%1\" claims more members than its block holds").arg(current_));

    info.implTypes = {qint32(out_.implTypes.size()), 0};
    if (const quint16 impls = u16(t + tail::ImplsOffset); impls != None16)
        readImpls(info, impls);
    if (info.kind == TypeKind::Alias) {
        const quint16 alias = u16(t + tail::AliasType);
        if (u16(t + tail::SimpleAlias)) {
            if (alias >= vt::Ptr && alias <= vt::UserDefined)
                failLoad(QStringLiteral("the alias \"%1\" lacks what it refers to").arg(current_));
            info.alias = alias < VarTypeCount ? baseType(alias) : TypeId(out_.types.size());
            if (alias >= VarTypeCount)
                out_.types.push_back(TypeDesc{alias});
        } else {
            qint64 p = body_.begin + alias;
            info.alias = typeAt(p);
        }
    }
    info.funcs = {qint32(out_.funcs.size()), 0};
    info.vars = {qint32(out_.vars.size()), 0};
    if (const quint16 funcs = u16(t + tail::FuncsOffset); funcs != None16)
        readFuncs(info, funcs, nFuncs);
    if (const quint16 vars = u16(t + tail::VarsOffset); vars != None16)
        readVars(info, vars, nVars);
    out_.typeInfos.push_back(std::move(info));
}

TypeLib Reader::read(LibraryResolver* resolver) {
    std::fill(std::begin(baseCache_), std::end(baseCache_), -1);
    out_.typeInfos.reserve(blocks_.size());
    for (size_t i = 0; i < blocks_.size(); ++i)
        readTypeInfo(i);
    // Every plain dispinterface is presented as deriving from the library's IDispatch.
    for (const TypeInfo& info : out_.typeInfos)
        if (info.kind == TypeKind::Dispatch && !(info.flags & flag::TypeDual) &&
            info.implTypes.count > 0 && dispatchRef_ >= 0)
            out_.implTypes[info.implTypes.first].ref = dispatchRef_;
    const qint32 dispatch = dispatchRef_ >= 0 ? dispatchRef_ : noneRef();
    resolveImports(out_, resolver);
    presentViews(out_, dispatch);
    return TypeLib(std::move(out_));
}

} // namespace

bool isSltg(QByteArrayView bytes) {
    return bytes.size() >= 4 && bytes.first(4) == "SLTG";
}

TypeLib readSltg(QByteArrayView bytes, LibraryResolver* resolver) {
    Reader r(bytes);
    r.readLayout();
    return r.read(resolver);
}

LibraryIdentity readSltgIdentity(QByteArrayView bytes) {
    Reader r(bytes);
    r.readLayout();
    return r.identity();
}

} // namespace vantor::tli
