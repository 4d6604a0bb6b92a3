#include "export/xml_export.h"

#include "export/markup_text.h"
#include "tli/tlb_dump.h"

#include <QSet>

namespace vantor {

namespace {

QString hex(quint32 value) {
    return QStringLiteral("0x") + QString::number(value, 16).toUpper();
}

class XmlWriter {
public:
    explicit XmlWriter(const tli::TypeLib& lib) : lib_(lib) {}

    void attribute(const char* name, const QString& value) {
        out_ += u' ';
        out_ += QLatin1String(name);
        out_ += QStringLiteral("=\"");
        appendMarkupText(out_, value, true);
        out_ += u'"';
    }
    void attribute(const char* name, qint64 value) { attribute(name, QString::number(value)); }
    void open(int depth, const char* tag) {
        indent(depth);
        out_ += u'<';
        out_ += QLatin1String(tag);
    }
    void close(int depth, const char* tag) {
        indent(depth);
        out_ += QLatin1String("</");
        out_ += QLatin1String(tag);
        out_ += QLatin1String(">\n");
    }
    void indent(int depth) { out_.resize(out_.size() + 2 * depth, u' '); }

    void typeInfo(const tli::TypeInfoView& view);
    QString take() { return std::move(out_); }
    QString& out() { return out_; }

private:
    void function(const tli::Func& f);
    void variable(const tli::Var& v);

    const tli::TypeLib& lib_;
    QString out_;
};

const char* invokeKindName(quint8 kind) {
    switch (kind) {
    case tli::invoke::PropertyGet:
        return "propget";
    case tli::invoke::PropertyPut:
        return "propput";
    case tli::invoke::PropertyPutRef:
        return "propputref";
    default:
        return "func";
    }
}

// By the parameter flags' in (0x1) and out (0x2) bits.
const char* direction(quint16 flags) {
    static const char* const names[] = {"none", "in", "out", "inout"};
    return names[flags & 3];
}

void XmlWriter::typeInfo(const tli::TypeInfoView& view) {
    const tli::TypeInfo& info = *view.info();
    open(1, "type");
    attribute("kind", view.kindKeyword());
    attribute("name", info.name);
    attribute("guid", info.guid.toString());
    attribute("flags", hex(info.flags));
    attribute("helpContext", info.helpContext);
    attribute("help", info.doc);
    if (const std::optional<tli::TypeInfoView> def = view.defaultInterface())
        attribute("defaultInterface", def->name());
    if (info.kind == tli::TypeKind::Alias && info.alias >= 0)
        attribute("aliasOf", tli::dumpType(lib_, info.alias));
    out_ += QStringLiteral(">\n");
    for (const tli::ImplType& impl : lib_.implTypes(info)) {
        const tli::TypeLib::Target target = lib_.resolve(impl.ref);
        open(2, "implements");
        attribute("name", target.info ? target.info->name : QStringLiteral("?"));
        if (target.library && target.library != &lib_)
            attribute("library", target.library->name());
        attribute("flags", hex(impl.flags));
        out_ += QStringLiteral("/>\n");
    }
    for (const tli::Func& f : lib_.funcs(info))
        function(f);
    for (const tli::Var& v : lib_.vars(info))
        variable(v);
    close(1, "type");
}

void XmlWriter::function(const tli::Func& f) {
    open(2, "function");
    attribute("name", f.name);
    attribute("memberId", hex(quint32(f.memid)));
    attribute("invokeKind", QLatin1String(invokeKindName(f.invokeKind)));
    attribute("flags", hex(f.flags));
    attribute("returns", tli::dumpType(lib_, f.returnType));
    attribute("helpContext", f.helpContext);
    attribute("help", f.doc);
    // The type services refuse to read such a function; its declaration is still known.
    if (f.badDefault)
        attribute("unreadableDefault", QStringLiteral("true"));
    const auto params = lib_.params(f);
    if (params.empty()) {
        out_ += QStringLiteral("/>\n");
        return;
    }
    out_ += QStringLiteral(">\n");
    for (size_t i = 0; i < params.size(); ++i) {
        const tli::Param& p = params[i];
        const bool optional =
            (p.flags & tli::flag::ParamOptional) != 0 ||
            (f.optionalCount > 0 && qint64(i) >= qint64(params.size()) - f.optionalCount);
        open(3, "parameter");
        attribute("name", p.name);
        attribute("type", tli::dumpType(lib_, p.type));
        attribute("direction", QLatin1String(direction(p.flags)));
        attribute("optional", optional ? QStringLiteral("true") : QStringLiteral("false"));
        attribute("flags", hex(p.flags));
        if ((p.flags & tli::flag::ParamHasDefault) && p.defaultValue >= 0)
            attribute("default", tli::dumpValue(lib_, p.defaultValue));
        out_ += QStringLiteral("/>\n");
    }
    close(2, "function");
}

void XmlWriter::variable(const tli::Var& v) {
    open(2, "variable");
    attribute("name", v.name);
    attribute("memberId", hex(quint32(v.memid)));
    attribute("flags", hex(v.flags));
    attribute("type", tli::dumpType(lib_, v.type));
    if (v.varKind == tli::VarKind::Const && v.value >= 0)
        attribute("value", tli::dumpValue(lib_, v.value));
    attribute("helpContext", v.helpContext);
    attribute("help", v.doc);
    out_ += QStringLiteral("/>\n");
}

} // namespace

QString xmlDocument(const DocSource& source, const DocHead& head, bool groupByKind) {
    const std::shared_ptr<const tli::TypeLib> lib = source.library->library().library();
    XmlWriter w(*lib);
    w.out() = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<library xmlns=\"urn:vantor:library:1\"");
    w.attribute("version", kLibraryXmlVersion);
    w.attribute("name", lib->name());
    w.attribute("guid", lib->guid().toString());
    w.attribute("major", lib->major());
    w.attribute("minor", lib->minor());
    w.attribute("lcid", lib->lcid());
    w.attribute("flags", hex(lib->libFlags()));
    w.attribute("helpContext", lib->helpContext());
    w.attribute("help", lib->doc());
    w.attribute("helpFile", head.helpFile.isEmpty() ? lib->helpFile() : head.helpFile);
    w.attribute("path", head.path);
    w.out() += QStringLiteral(">\n");

    const auto infos = lib->typeInfos();
    QList<int> order;
    QSet<int> seen;
    for (const qint32 row : visitedRows(source, groupByKind))
        if (const std::optional<tli::TypeInfoView> info = rowTypeInfo(source, row))
            if (!seen.contains(info->number())) {
                seen.insert(info->number());
                order.append(info->number());
            }
    for (int i = 0; i < int(infos.size()); ++i)
        if (!seen.contains(i))
            order.append(i);
    for (const int i : order)
        w.typeInfo(tli::TypeInfoView(lib, &infos[i]));
    w.close(0, "library");
    return w.take();
}

} // namespace vantor
