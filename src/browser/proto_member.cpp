#include "browser/proto_member.h"

#include "browser/bounds_calibration.h"
#include "browser/default_value.h"
#include "browser/proto_member_rules.h"
#include "browser/rtf_text.h"
#include "browser/variant_type_name.h"
#include "text/error.h"
#include "tli/search_data.h"
#include "tli/type_lib_info.h"

namespace vantor {

namespace {

using tli::TypeDescriptor;
using tli::TypeInfoView;
namespace vt = tli::vt;

const QString CrLf = QStringLiteral("\r\n");

struct Form {
    const tli::TypeLibInfo& library;
    bool screen;
    ProtoMemberFrame& frame;
};

// The component's name for a simple type, the table's where it gives none.
QString simpleTypeName(const TypeDescriptor& type) {
    const QString name = type.typedValueName();
    return name == QStringLiteral("Empty") ? variantTypeName(type.varType()) : name;
}

// The first library type info, a coclass whose default interface is "Automation", makes the
// library's Variant functions Subs.
bool isAutomationLibrary(const tli::TypeLibInfo& library) {
    if (library.typeInfoCount() < 1)
        return false;
    const TypeInfoView first = library.typeInfoItem(1);
    if (first.kind() != tli::TypeKind::Coclass)
        return false;
    const std::optional<TypeInfoView> iface = first.defaultInterface();
    return iface && iface->name() == QStringLiteral("Automation");
}

bool isEnumeration(const std::optional<TypeInfoView>& info) {
    if (!info)
        return false;
    const std::optional<TypeInfoView> final = info->finalType();
    return final && final->kind() == tli::TypeKind::Enum;
}

// The name of the first member of an enumeration with the default's value; empty when none.
QString enumerationMemberName(const TypeInfoView& enumeration, const tli::Value& value) {
    const std::optional<qint32> wanted = defaultAsLong(value);
    if (!wanted)
        return QString();
    // The enumeration may lie in another library: its members come from its own view.
    for (const tli::Var& var : enumeration.typeLib()->vars(*enumeration.info())) {
        const tli::MemberView m(enumeration.typeLib(), enumeration.info(), &var);
        const std::optional<tli::Value> v = m.constantValue();
        if (v && defaultAsLong(*v) == wanted)
            return RtfEscape(m.name());
    }
    return QString();
}

// " As " and the type of a parameter that names a type info.
QString referenceParameterType(const Form& form, const TypeDescriptor& type) {
    const std::optional<TypeInfoView> info = type.typeInfo();
    if (!info)
        return QStringLiteral(" As ?");
    if (type.isExternal()) {
        const tli::LibraryView other = type.externalLibrary();
        QString name = info->name();
        if (name.startsWith(u'_'))
            name.remove(0, 1);
        const QString visible = RtfEscape(other.name() + u'.' + name);
        QString out = QStringLiteral("\\b0\\i0   As \\cf2\\ul\\b ");
        if (form.screen) {
            // externalLink escapes the reference's braces itself.
            QString reference = other.guidText() + u':' + QString::number(other.majorVersion()) +
                                u'.' + QString::number(other.minorVersion()) + u'.' + name;
            out += externalLink(visible, reference.replace(u'\\', QStringLiteral("\\\\")));
        } else {
            out += visible;
        }
        return out + QStringLiteral("\\cf0\\ulnone \\cf0\\b0\\i0 ");
    }
    const QString name = RtfEscape(info->name());
    if (form.screen)
        return QStringLiteral(" As \\i0 \\cf1\\ul\\b") + inLibraryLink(name, info->number()) +
               QStringLiteral("\\cf0\\ulnone\\b0\\i0 ");
    return QStringLiteral(" As \\i0 \\cf2\\ul\\b ") + name +
           QStringLiteral(" \\cf0\\ulnone\\b0\\i0 ");
}

QString parameter(const Form& form, const tli::ParameterView& p, bool paramArray) {
    QString out;
    const bool bracketed = p.isOptional() || p.hasDefault();
    if (bracketed)
        out += paramArray ? QStringLiteral("\\i0[ParamArray ") : QStringLiteral("\\i0[\\i ");
    const TypeDescriptor type = p.type();
    const quint16 variantType = type.varType();
    const quint16 element = variantType & ~vt::ArrayBits;
    const int level = type.pointerLevel();
    const bool array = (variantType & vt::ArrayBits) != 0;
    std::optional<TypeInfoView> info;
    if (element != 0) {
        if ((variantType == vt::LpWStr ? 1 : level) != 1)
            out += QStringLiteral("ByVal ");
        out += QStringLiteral("\\b ") + RtfEscape(p.name()) + QStringLiteral(" \\b0");
        if (variantType != vt::Variant) {
            if (array)
                out += QStringLiteral("\\i0 ()\\i  As \\i0") + variantTypeName(element) +
                       QStringLiteral("\\i ");
            else
                out += QStringLiteral(" As \\i0") + simpleTypeName(type);
        }
    } else {
        info = type.typeInfo();
        if (info && level != 0) {
            const std::optional<TypeInfoView> final = info->finalType();
            using tli::TypeKind;
            if (final &&
                (final->kind() == TypeKind::Interface || final->kind() == TypeKind::Dispatch ||
                 final->kind() == TypeKind::Coclass))
                out += QStringLiteral("ByVal ");
        }
        out += QStringLiteral("\\b ") + RtfEscape(p.name()) + QStringLiteral("\\b0 ");
        if (array)
            out += QStringLiteral("()");
        out += referenceParameterType(form, type);
    }
    if (p.hasDefault() && (element != 0 || isEnumeration(info))) {
        out += QStringLiteral(" = ");
        if (const std::optional<tli::Value> value = p.defaultValue())
            out += element != 0 ? formatDefaultValue(*value)
                                : enumerationMemberName(*info->finalType(), *value);
    }
    if (bracketed)
        out += QStringLiteral("\\b0\\i0 ]");
    return out;
}

QString fixedArrayBounds(const Form& form, const TypeDescriptor& type) {
    const QList<tli::ArrayBound> bounds = type.arrayBounds();
    if (bounds.isEmpty())
        return QStringLiteral("()");
    const tli::ArrayBound& first = bounds.front();
    const qint64 reported = qint64(first.elements);
    const qint64 upper = boundsReportElementCounts(form.frame.application())
                             ? proto::upperFromCount(first.lowerBound, first.elements)
                             : reported;
    return QStringLiteral("(%1 to %2)").arg(first.lowerBound).arg(upper);
}

QString returnType(const Form& form, const tli::MemberView& member, qint32 invokeKinds,
                   bool automation) {
    const TypeDescriptor type = member.returnType();
    if (type.isNull())
        return QStringLiteral("\\b0\\fs18  As ?");
    const quint16 t = type.varType();
    const quint16 element = t & ~vt::ArrayBits;
    if (element == 0) {
        const std::optional<TypeInfoView> info = type.typeInfo();
        if (!info)
            return QStringLiteral("\\b0\\fs18  As ?");
        QString out;
        if (type.isExternal())
            out = QStringLiteral("\\b0\\i0  As \\cf2\\ul\\b ") +
                  RtfEscape(type.externalLibrary().name() + u'.' + info->name()) +
                  QStringLiteral(" \\cf1\\ulnone ");
        else if (form.screen)
            out = QStringLiteral("\\b0\\fs18  As \\cf1\\ul\\b ") +
                  inLibraryLink(RtfEscape(info->name()), info->number()) +
                  QStringLiteral("\\cf1\\ulnone ");
        else
            out = QStringLiteral("\\b0\\fs18  As \\cf2\\ul\\b ") + RtfEscape(info->name()) +
                  QStringLiteral(" \\cf1\\ulnone ");
        if (t & vt::ArrayBits)
            out += QStringLiteral("\\b\\i0 ()");
        return out;
    }
    if (t == vt::Variant) {
        const bool accessor = invokeKinds >= 2 && invokeKinds <= 12;
        if (!accessor && automation)
            return QString();
        return QStringLiteral("\\b0\\fs18  As ") + simpleTypeName(type);
    }
    if (t == vt::Void || t == vt::HResult)
        return QString();
    if (!(t & vt::ArrayBits))
        return QStringLiteral("\\b0\\fs18  As ") + simpleTypeName(type);
    const QString arrayText =
        (t & vt::SafeArrayBit) ? QStringLiteral("()") : fixedArrayBounds(form, type);
    return QStringLiteral("\\b0\\fs18 ") + arrayText + QStringLiteral(" As ") +
           variantTypeName(element);
}

// The owning type of the "member of" line: the row's type info; the member's own type for a
// row that numbers none (the globals row).
QString owningTypeName(const tli::TypeLibInfo& library, qint32 searchData,
                       const tli::MemberView& member) {
    const int number = tli::typeInfoNumber(searchData);
    if (number < library.typeInfoCount())
        return library.typeInfo(number).name();
    const TypeInfoView owner = member.owner();
    return owner.isNull() ? QString() : owner.name();
}

QString format(const tli::TypeLibInfo& library, const tli::MemberView& member, qint32 searchData,
               qint32 invokeKinds, qint32 docMode, ProtoMemberFrame& frame) {
    const Form form{library, docMode == proto::ScreenMode, frame};
    if (!member.helpFile().isEmpty()) {
        frame.setHelpContextID(0);
        frame.setHelpContextID(qint32(member.helpContext()));
    }
    const bool constant = tli::isConstantSearchData(searchData);
    const bool automation = isAutomationLibrary(library);
    const TypeDescriptor ret = member.returnType();
    const QString prefix =
        proto::memberPrefix(constant, invokeKinds, ret.isNull() ? 0 : ret.varType(), automation);

    QString p = prefix + QStringLiteral("\\cf1\\b\\f1 ") + RtfEscape(member.name()) +
                QStringLiteral("\\b0 ");
    const tli::Parameters params = member.parameters();
    if (params.count() > 0) {
        p += QStringLiteral("(\\i ");
        const QString separator = proto::parameterSeparator(docMode);
        for (int i = 0; i < params.count(); ++i) {
            if (i > 0)
                p += separator;
            // Only the last parameter takes the remaining arguments.
            const bool paramArray = params.optionalCount == -1 && i == params.count() - 1;
            p += parameter(form, params.items[i], paramArray);
        }
        p += QStringLiteral("\\b0\\i0 )");
    } else if (!constant && invokeKinds == tli::invoke::Func) {
        p += QStringLiteral("()");
    }

    if (constant) {
        p += QStringLiteral("\\b0\\i0  = \\cf4 ");
        if (const std::optional<tli::Value> value = member.constantValue())
            p += proto::constantValueText(*value);
    } else {
        p += returnType(form, member, invokeKinds, automation);
    }
    if (prefix == QStringLiteral("Property ")) {
        const QString tag = proto::propertyTag(invokeKinds);
        if (!tag.isEmpty())
            p += QStringLiteral("\\b0  ") + tag;
    }

    QString help = member.helpString(0);
    if (const qsizetype nul = help.indexOf(QChar(u'\0')); nul >= 0)
        help.truncate(nul);
    p +=
        QStringLiteral("\\cf0\\b\\f0\\fs18 \\par ") + CrLf + QStringLiteral("\\b0 \\cf1\\f1\\fs16");
    if (form.screen)
        p += QStringLiteral("   member of \\f0\\fs18 \\cf2\\ul\\b\\f1\\fs18 ") +
             RtfEscape(library.name() + u'.' + owningTypeName(library, searchData, member)) +
             QStringLiteral("\\cf0\\ulnone\\b0\\f0\\fs18 \\par ") + CrLf;
    return p + QStringLiteral("\\cf1\\f1\\fs18   ") + RtfEscape(help) +
           QStringLiteral(" \\f2\\par ");
}

// Every failure reaches the caller as an Error with a description to show.
template <class F> QString trapped(F&& f) {
    try {
        return f();
    } catch (const Error&) {
        throw;
    } catch (const std::exception& e) {
        throw Error(Error::InvalidCall, QStringLiteral("ProtoMember"),
                    QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

QString ProtoMember(const tli::TypeLibInfo& library, qint32 searchData, qint32 invokeKinds,
                    qint32 memberId, const QString& memberName, qint32 docMode,
                    ProtoMemberFrame& frame) {
    return trapped([&] {
        return format(library, library.member(searchData, invokeKinds, memberId, memberName),
                      searchData, invokeKinds, docMode, frame);
    });
}

QString ProtoMemberOf(const tli::TypeLibInfo& library, const tli::MemberView& member,
                      qint32 searchData, qint32 invokeKinds, qint32 docMode,
                      ProtoMemberFrame& frame) {
    return trapped(
        [&] { return format(library, member, searchData, invokeKinds, docMode, frame); });
}

} // namespace vantor
