#pragma once

#include "browser/proto_member.h"
#include "qt_print.h"
#include "test_files.h"
#include "text/error.h"
#include "tli/tli_machine.h"

#include <memory>

// Libraries opened the way the window opens them: through a TLIApplication over a test Wine
// prefix, so that references into other libraries resolve through its registry.
namespace vantor::prototest {

inline QString wineFile(const QString& name) {
    return registry::test::TestPrefix::wineBinaries() + u'/' + name;
}

using test::readFile;
using test::writeFile;

// One machine for every test of the binary: each library is read once.
inline tli::testing::PrefixMachine& machine() {
    static tli::testing::PrefixMachine m;
    return m;
}

// Records the help contexts it is given; the application is the shared machine's unless given.
class RecordingFrame : public ProtoMemberFrame {
public:
    explicit RecordingFrame(const tli::TLIApplication* app = nullptr) : app_(app) {}
    QList<qint32> contexts;
    void setHelpContextID(qint32 id) override { contexts.append(id); }
    const tli::TLIApplication* application() const override {
        return app_ ? app_ : &machine().app();
    }

private:
    const tli::TLIApplication* app_;
};

// One member formatted in both forms, or the error it gave.
struct MemberCall {
    QString screen;
    QString document;
    QList<qint32> helpContexts;
};

struct Opened {
    std::unique_ptr<tli::TypeLibInfo> lib;
    QString error;

    // The member row's invoke kinds unless `invokeKinds` is given.
    MemberCall call(const QString& typeName, const QString& member, qint32 invokeKinds = 0) const {
        MemberCall c;
        const auto rows = lib->typeInfoRows();
        const auto type = std::find_if(rows.begin(), rows.end(),
                                       [&](const tli::ListRow& r) { return r.text == typeName; });
        if (type == rows.end())
            return {QStringLiteral("no type row ") + typeName, {}, {}};
        for (const tli::ListRow& row : lib->memberRows(type->itemData))
            if (row.text == member && invokeKinds == 0)
                invokeKinds = row.itemData;
        RecordingFrame frame;
        try {
            c.screen = ProtoMember(*lib, type->itemData, invokeKinds, -1, member, 1, frame);
            c.document = ProtoMember(*lib, type->itemData, invokeKinds, -1, member, 2, frame);
        } catch (const Error& e) {
            c.screen = c.document = QStringLiteral("error: ") + e.description();
        }
        c.helpContexts = frame.contexts;
        return c;
    }
};

// `showAll`: hidden and restricted types and members listed, as with "Show Hidden".
inline Opened openPath(const QString& path, bool showAll = false) {
    Opened o;
    try {
        o.lib = machine().app().typeLibInfoFromFile(path);
        if (showAll) {
            o.lib->setTypeFilter(0, true, true);
            o.lib->setMemberFilters(0, 0);
        }
    } catch (const Error& e) {
        o.error = e.description();
        o.lib.reset();
    }
    return o;
}

inline Opened openLibrary(const QString& file, bool showAll = false) {
    return openPath(wineFile(file), showAll);
}

} // namespace vantor::prototest
