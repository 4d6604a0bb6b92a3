// tlbdump: prints a type library in the canonical dump format, or a file's TYPELIB ids.
//
//   tlbdump [--folder DIR] [--index FILE] PATH[\N]
//   tlbdump --list FILE

#include "text/error.h"
#include "tli/errors.h"
#include "tli/library_set.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using namespace vantor;

namespace {

// Where imported libraries are looked for by file name until the machine's registry answers.
constexpr const char* WineBinaries = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";

int usage() {
    std::fputs("usage: tlbdump [--folder DIR] [--index FILE] PATH[\\N]\n"
               "       tlbdump --list FILE\n",
               stderr);
    return 2;
}

void write(const QByteArray& bytes) {
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool list = false;
    QString folder = QString::fromLatin1(WineBinaries), index, path;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--list"))
            list = true;
        else if (a == QLatin1String("--folder") && !args.isEmpty())
            folder = args.takeFirst();
        else if (a == QLatin1String("--index") && !args.isEmpty())
            index = args.takeFirst();
        else if (a == QLatin1String("--prefix") || a == QLatin1String("--registry")) {
            std::fprintf(stderr, "tlbdump: %s: reading a machine's registry is not available yet\n",
                         qPrintable(a));
            return 2;
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty())
            return usage();
        else
            path = a;
    }
    if (path.isEmpty())
        return usage();

    try {
        if (list) {
            for (quint16 id : tli::loadTypeLibIds(path))
                write(QByteArray::number(id) + '\n');
            return 0;
        }
        tli::LibrarySet libraries(index.isEmpty() ? QStringList()
                                                  : tli::LibrarySet::pathsFromIndex(index, folder),
                                  folder);
        write(tli::dumpTypeLib(*tli::loadTypeLib(path, &libraries)));
        return 0;
    } catch (const Error& e) {
        std::fprintf(stderr, "tlbdump: %s\n", qPrintable(e.description()));
        if (!list)
            write(tli::dumpLoadError(tli::ErrorCantLoadLibrary));
        return 1;
    }
}
