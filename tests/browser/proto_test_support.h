#pragma once

#include "browser/proto_member.h"
#include "platform/registry/store.h"
#include "platform/registry/test_prefix.h"
#include "platform/winpath/win_path.h"
#include "qt_print.h"
#include "text/error.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <QFile>
#include <memory>

// Libraries opened the way the window opens them: through a TLIApplication over a test Wine
// prefix, so that references into other libraries resolve through its registry.
namespace vantor::prototest {

inline QString wineFile(const QString& name) {
    return registry::test::TestPrefix::wineBinaries() + u'/' + name;
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Machine {
    registry::test::TestPrefix prefix;
    registry::Store store;
    winpath::PrefixPaths paths;
    tli::TLIApplication app;

    Machine()
        : store(registry::Machine{registry::Machine::Kind::Prefix, prefix.prefix(), {}},
                prefix.programFolder()),
          paths(prefix.prefix()), app(&store, &paths) {}
};

// One machine for every test of the binary: each library is read once.
inline Machine& machine() {
    static Machine m;
    return m;
}

class RecordingFrame : public ProtoMemberFrame {
public:
    QList<qint32> contexts;
    void setHelpContextID(qint32 id) override { contexts.append(id); }
    const tli::TLIApplication* application() const override { return &machine().app; }
};

// One member formatted in both forms, or the error it gave.
struct MemberCall {
    qint32 searchData = 0;
    qint32 invokeKinds = 0;
    QString screenText;
    QString documentText;
    QList<qint32> helpContexts;
    const QString& screen() const { return screenText; }
    const QString& document() const { return documentText; }
};

struct Opened {
    std::unique_ptr<tli::TypeLibInfo> lib;
    QString error;

    qint32 searchData(const QString& typeName) const {
        for (const tli::ListRow& row : lib->typeInfoRows())
            if (row.text == typeName)
                return row.itemData;
        return -1;
    }

    // The member row's invoke kinds unless `invokeKinds` is given.
    MemberCall call(const QString& typeName, const QString& member, qint32 invokeKinds = 0) const {
        MemberCall c;
        c.searchData = searchData(typeName);
        if (c.searchData == -1) {
            c.screenText = c.documentText = QStringLiteral("no type row ") + typeName;
            return c;
        }
        c.invokeKinds = invokeKinds;
        for (const tli::ListRow& row : lib->memberRows(c.searchData))
            if (row.text == member && invokeKinds == 0)
                c.invokeKinds = row.itemData;
        RecordingFrame frame;
        try {
            c.screenText = ProtoMember(*lib, c.searchData, c.invokeKinds, -1, member, 1, frame);
            c.documentText = ProtoMember(*lib, c.searchData, c.invokeKinds, -1, member, 2, frame);
        } catch (const Error& e) {
            c.screenText = c.documentText = QStringLiteral("error: ") + e.description();
        }
        c.helpContexts = frame.contexts;
        return c;
    }
};

// `showAll`: hidden and restricted types and members listed, as with "Show Hidden".
inline Opened openPath(const QString& path, bool showAll = false) {
    Opened o;
    try {
        o.lib = machine().app.typeLibInfoFromFile(path);
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
