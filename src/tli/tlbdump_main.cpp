// tlbdump: prints a type library in the canonical dump format, or a file's TYPELIB ids.
// References into other libraries resolve through the machine's registry.
//
//   tlbdump [--prefix DIR | --registry FILE.reg ...] PATH[\N]
//   tlbdump --list FILE

#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"
#include "tli/errors.h"
#include "tli/session.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>

using namespace vantor;

namespace {

int usage() {
    std::fputs("usage: tlbdump [--prefix DIR | --registry FILE.reg ...] PATH[\\N]\n"
               "       tlbdump --list FILE\n",
               stderr);
    return 2;
}

void write(const QByteArray& bytes) {
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

bool isMachineOption(const QString& a) {
    return a == QLatin1String("--prefix") || a == QLatin1String("--registry") ||
           a.startsWith(QLatin1String("--prefix=")) || a.startsWith(QLatin1String("--registry="));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QStringList machineArgs;
    bool list = false;
    QString path;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--list")) {
            list = true;
        } else if (isMachineOption(a)) {
            machineArgs.push_back(a);
            if (!a.contains(u'=')) {
                if (args.isEmpty())
                    return usage();
                machineArgs.push_back(args.takeFirst());
            }
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            return usage();
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return usage();

    try {
        if (list) {
            for (quint16 id : tli::loadTypeLibIds(path))
                write(QByteArray::number(id) + '\n');
            return 0;
        }
        // The machine's own registry alone: an empty program folder holds no overlay.
        const QTemporaryDir programFolder;
        const registry::Machine machine =
            registry::chooseMachine(machineArgs, QString(),
                                    QProcessEnvironment::systemEnvironment())
                .machine;
        registry::Store store(machine, programFolder.path());
        std::optional<winpath::PrefixPaths> paths;
        if (machine.kind == registry::Machine::Kind::Prefix)
            paths.emplace(machine.prefix, store.systemRoot());
        tli::Session session(&store, paths ? &*paths : nullptr);
        write(tli::dumpTypeLib(*tli::loadTypeLib(path, &session)));
        return 0;
    } catch (const Error& e) {
        std::fprintf(stderr, "tlbdump: %s\n", qPrintable(e.description()));
        if (!list)
            write(tli::dumpLoadError(tli::ErrorCantLoadLibrary));
        return 1;
    }
}
