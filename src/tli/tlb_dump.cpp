#include "tli/tlb_dump.h"

#include <cmath>
#include <cstdio>

namespace vantor::tli {
namespace {

// The error the type services give for a default value they cannot copy (DISP_E_BADVARTYPE).
constexpr quint32 BadVarType = 0x80020008;

const char* vtName(quint16 v) {
    static const char* const low[] = {
        "EMPTY", "NULL",     "I2",    "I4",        "R4",      "R8",          "CY",      "DATE",
        "BSTR",  "DISPATCH", "ERROR", "BOOL",      "VARIANT", "UNKNOWN",     "DECIMAL", nullptr,
        "I1",    "UI1",      "UI2",   "UI4",       "I8",      "UI8",         "INT",     "UINT",
        "VOID",  "HRESULT",  "PTR",   "SAFEARRAY", "CARRAY",  "USERDEFINED", "LPSTR",   "LPWSTR",
        nullptr, nullptr,    nullptr, nullptr,     "RECORD",  "INT_PTR",     "UINT_PTR"};
    static const char* const high[] = {
        "FILETIME",      "BLOB",        "STREAM", "STORAGE", "STREAMED_OBJECT",
        "STORED_OBJECT", "BLOB_OBJECT", "CF",     "CLSID",   "VERSIONED_STREAM"};
    if (v < std::size(low))
        return low[v];
    if (v >= 64 && v < 64 + std::size(high))
        return high[v - 64];
    if (v == 0xFFF)
        return "BSTR_BLOB";
    return nullptr;
}

class Dumper {
public:
    explicit Dumper(const TypeLib& lib) : lib_(lib) {}
    QByteArray run();

private:
    void field(const char* key, const QByteArray& value) {
        out_ += ' ';
        out_ += key;
        out_ += '=';
        out_ += value;
    }
    void field(const char* key, const QString& s) { field(key, quoted(s)); }
    void dec(const char* key, qint64 v) { field(key, QByteArray::number(v)); }
    void hex(const char* key, quint32 v) { field(key, hexText(v)); }
    void begin(int depth, const char* tag) {
        out_.append(2 * depth, ' ');
        out_ += tag;
    }
    void end() { out_ += '\n'; }

    static QByteArray hexText(quint32 v) { return "0x" + QByteArray::number(v, 16).toUpper(); }
    static QByteArray escaped(const QString& s);
    static QByteArray quoted(const QString& s) { return '"' + escaped(s) + '"'; }
    static QByteArray real(double d, int precision);
    QByteArray typeText(TypeId id) const;
    QByteArray refText(qint32 ref) const;
    QByteArray valueText(qint32 index) const;
    void typeInfo(const TypeInfo& info, int depth, qint64 index);

    const TypeLib& lib_;
    QByteArray out_;
};

QByteArray Dumper::escaped(const QString& s) {
    QByteArray o;
    o.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
        else if (QChar::isSurrogate(c))
            c = 0xFFFD;
        switch (c) {
        case '\\':
            o += "\\\\";
            continue;
        case '"':
            o += "\\\"";
            continue;
        case '\n':
            o += "\\n";
            continue;
        case '\r':
            o += "\\r";
            continue;
        case '\t':
            o += "\\t";
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", unsigned(c));
            o += b;
        } else {
            o += QString::fromUcs4(&c, 1).toUtf8();
        }
    }
    return o;
}

QByteArray Dumper::real(double d, int precision) {
    if (std::isnan(d))
        return "nan";
    if (std::isinf(d))
        return d < 0 ? "-inf" : "inf";
    char b[64];
    std::snprintf(b, sizeof b, "%.*g", precision, d);
    return b;
}

QByteArray Dumper::refText(qint32 ref) const {
    const TypeLib::Target t = lib_.resolve(ref);
    if (!t.info)
        return "ref(?)";
    QByteArray s = "ref(" + escaped(t.info->name);
    if (t.library != &lib_ && !t.library->sameIdentity(lib_))
        s += '@' + escaped(t.library->name()) + t.library->guid().toString().toLatin1() +
             QByteArray::number(t.library->major()) + '.' + QByteArray::number(t.library->minor());
    return s + ')';
}

QByteArray Dumper::typeText(TypeId id) const {
    const TypeDesc& t = lib_.type(id);
    switch (t.vt) {
    case vt::Ptr:
        return "PTR(" + typeText(t.inner) + ')';
    case vt::SafeArray:
        return "SAFEARRAY(" + typeText(t.inner) + ')';
    case vt::CArray: {
        QByteArray s = "CARRAY(" + typeText(t.inner) + ";[";
        bool first = true;
        for (const ArrayBound& b : lib_.bounds(t)) {
            if (!first)
                s += ',';
            first = false;
            s += QByteArray::number(b.lowerBound) + ':' + QByteArray::number(b.elements);
        }
        return s + "])";
    }
    case vt::UserDefined:
        return "USERDEFINED(" + refText(t.ref) + ')';
    default:
        if (const char* n = vtName(t.vt))
            return n;
        return "VT(" + hexText(t.vt) + ')';
    }
}

QByteArray Dumper::valueText(qint32 index) const {
    if (index < 0)
        return "?";
    const Value& v = lib_.value(index);
    const char* n = vtName(v.vt);
    const QByteArray name = n ? QByteArray(n) : "VT(" + hexText(v.vt) + ')';
    const QByteArray p = name + ':';
    switch (v.vt) {
    case vt::Empty:
    case vt::Null:
        return name;
    case vt::I1:
    case vt::I2:
    case vt::I4:
    case vt::I8:
    case vt::Int:
    case vt::UI1:
    case vt::UI2:
    case vt::UI4:
    case vt::UInt:
    case vt::Bool:
    case vt::Cy:
        return p + QByteArray::number(v.integer);
    case vt::UI8:
        return p + QByteArray::number(quint64(v.integer));
    case vt::Error:
        return p + hexText(quint32(v.integer));
    case vt::R4:
        return p + real(v.real, 9);
    case vt::R8:
    case vt::Date:
        return p + real(v.real, 17);
    case vt::Bstr:
        return p + quoted(v.text);
    case vt::Dispatch:
    case vt::Unknown:
        return p + (v.integer ? "nonnull" : "null");
    default:
        return p + '?';
    }
}

void Dumper::typeInfo(const TypeInfo& info, int depth, qint64 index) {
    const auto impls = lib_.implTypes(info);
    const auto funcs = lib_.funcs(info);
    const auto vars = lib_.vars(info);
    begin(depth, index >= 0 ? "typeinfo" : "dual");
    if (index >= 0)
        dec("index", index);
    field("name", info.name);
    dec("kind", int(info.kind));
    field("guid", info.guid.toString().toLatin1());
    hex("typeflags", info.flags);
    field("version", QByteArray::number(info.major) + '.' + QByteArray::number(info.minor));
    field("doc", info.doc);
    dec("helpctx", info.helpContext);
    dec("cFuncs", qint64(funcs.size()));
    dec("cVars", qint64(vars.size()));
    dec("cImplTypes", qint64(impls.size()));
    dec("cbSizeInstance", info.sizeInstance);
    dec("cbAlignment", info.alignment);
    dec("cbSizeVft", info.sizeVft);
    if (info.kind == TypeKind::Alias)
        field("alias", typeText(info.alias));
    end();

    for (size_t j = 0; j < impls.size(); ++j) {
        begin(depth + 1, "impltype");
        dec("index", qint64(j));
        hex("flags", impls[j].flags);
        field("type", refText(impls[j].ref));
        end();
    }
    for (size_t i = 0; i < funcs.size(); ++i) {
        const Func& f = funcs[i];
        begin(depth + 1, "func");
        dec("index", qint64(i));
        if (f.badDefault) {
            out_ += " ERR(0x" + QByteArray::number(BadVarType, 16).toUpper() + ')';
            end();
            continue;
        }
        const auto params = lib_.params(f);
        hex("memid", quint32(f.memid));
        field("name", f.name);
        dec("invkind", f.invokeKind);
        dec("funckind", f.funcKind);
        dec("callconv", f.callConv);
        hex("flags", f.flags);
        dec("oVft", f.vtableOffset);
        dec("cParams", qint64(params.size()));
        dec("cParamsOpt", f.optionalCount);
        field("ret", typeText(f.returnType));
        field("doc", f.doc);
        dec("helpctx", f.helpContext);
        end();
        for (size_t k = 0; k < params.size(); ++k) {
            const Param& p = params[k];
            begin(depth + 2, "param");
            dec("index", qint64(k));
            field("name", p.name);
            hex("flags", p.flags);
            field("type", typeText(p.type));
            if (p.flags & flag::ParamHasDefault)
                field("default", valueText(p.defaultValue));
            end();
        }
    }
    for (size_t i = 0; i < vars.size(); ++i) {
        const Var& v = vars[i];
        begin(depth + 1, "var");
        dec("index", qint64(i));
        hex("memid", quint32(v.memid));
        field("name", v.name);
        dec("varkind", v.varKind);
        hex("flags", v.flags);
        field("type", typeText(v.type));
        if (v.varKind == 2)
            field("value", valueText(v.value));
        else
            dec("oInst", v.instanceOffset);
        field("doc", v.doc);
        dec("helpctx", v.helpContext);
        end();
    }
    if (const TypeInfo* view = lib_.interfaceView(info))
        typeInfo(*view, depth + 1, -1);
}

QByteArray Dumper::run() {
    begin(0, "library");
    field("name", lib_.name());
    field("doc", lib_.doc());
    field("helpfile", lib_.helpFile());
    // The type services report the header's help string context here.
    dec("helpctx", lib_.helpStringContext());
    field("guid", lib_.guid().toString().toLatin1());
    field("version", QByteArray::number(lib_.major()) + '.' + QByteArray::number(lib_.minor()));
    dec("lcid", lib_.lcid());
    dec("syskind", lib_.sysKind());
    hex("libflags", lib_.libFlags());
    dec("typeinfos", qint64(lib_.typeInfos().size()));
    end();
    const auto infos = lib_.typeInfos();
    for (size_t i = 0; i < infos.size(); ++i)
        typeInfo(infos[i], 1, qint64(i));
    return out_;
}

} // namespace

QByteArray dumpTypeLib(const TypeLib& lib) {
    return Dumper(lib).run();
}

QByteArray dumpLoadError(int number) {
    return "library ERR(0x" +
           QByteArray::number(quint32(number), 16).toUpper().rightJustified(8, '0') + ")\n";
}

} // namespace vantor::tli
