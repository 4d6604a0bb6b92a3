#include "export/constants_code.h"

#include "browser/proto_member_rules.h"

namespace vantor {

namespace {

struct Dialect {
    QString prefix;
    QString comment;
    QString terminator;
};

Dialect dialectOf(ScriptDialect dialect) {
    if (dialect == ScriptDialect::JScript)
        return {QStringLiteral("var "), QStringLiteral(" //"), QStringLiteral(";")};
    return {QStringLiteral("const "), QStringLiteral(" '"), QString()};
}

void appendValue(QString& out, const tli::Value& value, const Dialect& d) {
    if (value.state != tli::Value::State::Present)
        return;
    switch (value.vt) {
    case tli::vt::I2:
    case tli::vt::I4:
    case tli::vt::Int: {
        out += QString::number(value.integer);
        if (const QString hex = proto::integerHex(value); !hex.isEmpty())
            out += d.terminator + d.comment + hex;
        return;
    }
    case tli::vt::Bstr:
        out += u'"' + value.text + u'"' + d.terminator;
        return;
    default:
        return;
    }
}

} // namespace

ConstantsCode constantsCode(const QList<tli::ConstantGroup>& groups, ScriptDialect dialect) {
    const Dialect d = dialectOf(dialect);
    ConstantsCode out;
    for (const tli::ConstantGroup& group : groups) {
        if (group.name.startsWith(u'_'))
            continue;
        out.text += d.comment + group.name + QStringLiteral("\r\n");
        for (const tli::Constant& c : group.members) {
            ++out.count;
            out.text += d.prefix + c.name + QStringLiteral(" = ");
            appendValue(out.text, c.value, d);
            out.text += QStringLiteral("\r\n");
        }
    }
    return out;
}

} // namespace vantor
