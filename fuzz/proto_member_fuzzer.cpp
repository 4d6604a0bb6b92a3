// fuzz-proto-member: arbitrary bytes opened as a library file by the component, then every member
// it lists formatted in both forms, as a member click and the documentation export do.

#include "browser/proto_member.h"
#include "text/error.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

using namespace vantor;

namespace {

class Frame : public ProtoMemberFrame {
public:
    void setHelpContextID(qint32) override {}
    const tli::TLIApplication* application() const override { return nullptr; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.tlb"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    // A new application each time: it keeps every library it has read by path.
    const tli::TLIApplication app(nullptr, nullptr);
    Frame frame;
    try {
        const auto lib = app.typeLibInfoFromFile(path);
        lib->setTypeFilter(0, true, true);
        lib->setMemberFilters(0, 0);
        for (const tli::ListRow& type : lib->typeInfoRows())
            for (const tli::ListRow& member : lib->memberRows(type.itemData))
                for (qint32 mode : {1, 2}) {
                    try {
                        ProtoMember(*lib, type.itemData, member.itemData, -1, member.text, mode,
                                    frame);
                    } catch (const Error&) {
                    }
                }
    } catch (const Error&) {
    }
    return 0;
}
