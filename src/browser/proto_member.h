#pragma once

#include <QString>
#include <QtGlobal>

namespace vantor::tli {
class MemberView;
class TLIApplication;
class TypeLibInfo;
} // namespace vantor::tli

namespace vantor {

// What ProtoMember needs of the main window.
class ProtoMemberFrame {
public:
    virtual ~ProtoMemberFrame() = default;
    // The current help context (mbrContextID): set for a member that names a help file.
    virtual void setHelpContextID(qint32 contextId) = 0;
    // The application object whose machine is asked for stdole2.tlb by the bounds
    // calibration; null when there is none (Wine's own copy is used then).
    virtual const tli::TLIApplication* application() const = 0;
};

// One member of the open library as an RTF fragment: its declaration, then the type it belongs
// to (screen form only) and its help string. The caller puts the pane header in front.
// `searchData` is the item data of the type-info row, `invokeKinds` that of the member row (or
// one member's own kind), `memberId` -1 to look the member up by `memberName`. `docMode` 1 is the
// screen form (links, "member of"); any other value the document form.
// Throws vantor::Error, whose description the caller shows instead, when the member cannot be
// found or read.
QString ProtoMember(const tli::TypeLibInfo& library, qint32 searchData, qint32 invokeKinds,
                    qint32 memberId, const QString& memberName, qint32 docMode,
                    ProtoMemberFrame& frame);

// The same for a member already found (the library's member lookup is ProtoMember's first step).
QString ProtoMemberOf(const tli::TypeLibInfo& library, const tli::MemberView& member,
                      qint32 searchData, qint32 invokeKinds, qint32 docMode,
                      ProtoMemberFrame& frame);

} // namespace vantor
