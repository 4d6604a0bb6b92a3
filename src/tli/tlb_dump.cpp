#include "tli/tlb_dump.h"

#include <cmath>
#include <cstdio>
#include <string>

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

// Builds the text in a std::string: appending single characters stays inline, which matters
// for a library of a million characters.
class Dumper {
public:
    explicit Dumper(const TypeLib& lib) : lib_(lib) {}
    QByteArray run();

private:
    void key(const char* k) {
        out_ += ' ';
        out_ += k;
        out_ += '=';
    }
    void field(const char* k, const QString& s) {
        key(k);
        quoted(s);
    }
    void dec(const char* k, qint64 v) {
        key(k);
        number(v);
    }
    void hex(const char* k, quint32 v) {
        key(k);
        hexNumber(v);
    }
    void version(quint16 major, quint16 minor) {
        number(major);
        out_ += '.';
        number(minor);
    }
    void begin(int depth, const char* tag) {
        out_.append(size_t(2 * depth), ' ');
        out_ += tag;
    }
    void number(qint64 v) { out_ += std::to_string(v); }
    void hexNumber(quint32 v) {
        char b[16];
        std::snprintf(b, sizeof b, "0x%X", v);
        out_ += b;
    }
    void guid(const Guid& g) { out_ += g.toString().toStdString(); }
    void quoted(QStringView s) {
        out_ += '"';
        escaped(s);
        out_ += '"';
    }
    void escaped(QStringView s);
    void real(double d, int precision);
    void type(TypeId id);
    void ref(qint32 ref);
    void value(qint32 index);
    void typeInfo(const TypeInfo& info, int depth, qint64 index);

    const TypeLib& lib_;
    std::string out_;
};

void Dumper::escaped(QStringView s) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            out_ += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
        else if (QChar::isSurrogate(c))
            c = 0xFFFD;
        switch (c) {
        case '\\':
            out_ += "\\\\";
            continue;
        case '"':
            out_ += "\\\"";
            continue;
        case '\n':
            out_ += "\\n";
            continue;
        case '\r':
            out_ += "\\r";
            continue;
        case '\t':
            out_ += "\\t";
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", unsigned(c));
            out_ += b;
        } else if (c < 0x800) {
            out_ += char(0xC0 | c >> 6);
            out_ += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out_ += char(0xE0 | c >> 12);
            out_ += char(0x80 | (c >> 6 & 0x3F));
            out_ += char(0x80 | (c & 0x3F));
        } else {
            out_ += char(0xF0 | c >> 18);
            out_ += char(0x80 | (c >> 12 & 0x3F));
            out_ += char(0x80 | (c >> 6 & 0x3F));
            out_ += char(0x80 | (c & 0x3F));
        }
    }
}

void Dumper::real(double d, int precision) {
    if (std::isnan(d)) {
        out_ += "nan";
    } else if (std::isinf(d)) {
        out_ += d < 0 ? "-inf" : "inf";
    } else {
        char b[64];
        std::snprintf(b, sizeof b, "%.*g", precision, d);
        out_ += b;
    }
}

void Dumper::ref(qint32 index) {
    const TypeLib::Target t = lib_.resolve(index);
    if (!t.info) {
        out_ += "ref(?)";
        return;
    }
    out_ += "ref(";
    escaped(t.info->name);
    if (t.library != &lib_ && !t.library->sameIdentity(lib_)) {
        out_ += '@';
        escaped(t.library->name());
        guid(t.library->guid());
        version(t.library->major(), t.library->minor());
    }
    out_ += ')';
}

void Dumper::type(TypeId id) {
    const TypeDesc& t = lib_.type(id);
    switch (t.vt) {
    case vt::Ptr:
    case vt::SafeArray:
        out_ += t.vt == vt::Ptr ? "PTR(" : "SAFEARRAY(";
        type(t.inner);
        out_ += ')';
        return;
    case vt::CArray: {
        out_ += "CARRAY(";
        type(t.inner);
        out_ += ";[";
        bool first = true;
        for (const ArrayBound& b : lib_.bounds(t)) {
            if (!first)
                out_ += ',';
            first = false;
            number(b.lowerBound);
            out_ += ':';
            number(b.elements);
        }
        out_ += "])";
        return;
    }
    case vt::UserDefined:
        out_ += "USERDEFINED(";
        ref(t.ref);
        out_ += ')';
        return;
    default:
        if (const char* n = vtName(t.vt)) {
            out_ += n;
        } else {
            out_ += "VT(";
            hexNumber(t.vt);
            out_ += ')';
        }
    }
}

void Dumper::value(qint32 index) {
    if (index < 0) {
        out_ += '?';
        return;
    }
    const Value& v = lib_.value(index);
    if (const char* n = vtName(v.vt)) {
        out_ += n;
    } else {
        out_ += "VT(";
        hexNumber(v.vt);
        out_ += ')';
    }
    if (v.vt == vt::Empty || v.vt == vt::Null)
        return;
    out_ += ':';
    switch (v.vt) {
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
        number(v.integer);
        return;
    case vt::UI8:
        out_ += std::to_string(quint64(v.integer));
        return;
    case vt::Error:
        hexNumber(quint32(v.integer));
        return;
    case vt::R4:
        real(v.real, 9);
        return;
    case vt::R8:
    case vt::Date:
        real(v.real, 17);
        return;
    case vt::Bstr:
        quoted(v.text);
        return;
    case vt::Dispatch:
    case vt::Unknown:
        out_ += v.integer ? "nonnull" : "null";
        return;
    default:
        out_ += '?';
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
    key("guid");
    guid(info.guid);
    hex("typeflags", info.flags);
    key("version");
    version(info.major, info.minor);
    field("doc", info.doc);
    dec("helpctx", info.helpContext);
    dec("cFuncs", qint64(funcs.size()));
    dec("cVars", qint64(vars.size()));
    dec("cImplTypes", qint64(impls.size()));
    dec("cbSizeInstance", info.sizeInstance);
    dec("cbAlignment", info.alignment);
    dec("cbSizeVft", info.sizeVft);
    if (info.kind == TypeKind::Alias) {
        key("alias");
        type(info.alias);
    }
    out_ += '\n';

    for (size_t j = 0; j < impls.size(); ++j) {
        begin(depth + 1, "impltype");
        dec("index", qint64(j));
        hex("flags", impls[j].flags);
        key("type");
        ref(impls[j].ref);
        out_ += '\n';
    }
    for (size_t i = 0; i < funcs.size(); ++i) {
        const Func& f = funcs[i];
        begin(depth + 1, "func");
        dec("index", qint64(i));
        if (f.badDefault) {
            out_ += " ERR(";
            hexNumber(BadVarType);
            out_ += ")\n";
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
        key("ret");
        type(f.returnType);
        field("doc", f.doc);
        dec("helpctx", f.helpContext);
        out_ += '\n';
        for (size_t k = 0; k < params.size(); ++k) {
            const Param& p = params[k];
            begin(depth + 2, "param");
            dec("index", qint64(k));
            field("name", p.name);
            hex("flags", p.flags);
            key("type");
            type(p.type);
            if (p.flags & flag::ParamHasDefault) {
                key("default");
                value(p.defaultValue);
            }
            out_ += '\n';
        }
    }
    for (size_t i = 0; i < vars.size(); ++i) {
        const Var& v = vars[i];
        begin(depth + 1, "var");
        dec("index", qint64(i));
        hex("memid", quint32(v.memid));
        field("name", v.name);
        dec("varkind", quint8(v.varKind));
        hex("flags", v.flags);
        key("type");
        type(v.type);
        if (v.varKind == VarKind::Const) {
            key("value");
            value(v.value);
        } else {
            dec("oInst", v.instanceOffset);
        }
        field("doc", v.doc);
        dec("helpctx", v.helpContext);
        out_ += '\n';
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
    key("guid");
    guid(lib_.guid());
    key("version");
    version(lib_.major(), lib_.minor());
    dec("lcid", lib_.lcid());
    dec("syskind", lib_.sysKind());
    hex("libflags", lib_.libFlags());
    dec("typeinfos", qint64(lib_.typeInfos().size()));
    out_ += '\n';
    const auto infos = lib_.typeInfos();
    for (size_t i = 0; i < infos.size(); ++i)
        typeInfo(infos[i], 1, qint64(i));
    return QByteArray::fromStdString(out_);
}

} // namespace

QByteArray dumpTypeLib(const TypeLib& lib) {
    return Dumper(lib).run();
}

QByteArray dumpLoadError(int number) {
    char b[32];
    std::snprintf(b, sizeof b, "library ERR(0x%08X)\n", quint32(number));
    return b;
}

} // namespace vantor::tli
