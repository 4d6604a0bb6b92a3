#include "app/apply_command_line.h"

#include "app/command_line_text.h"
#include "app/library_file_opener.h"
#include "app/main_window.h"
#include "app/search_commands.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "platform/winpath/win_path.h"
#include "search/help_string_search.h"
#include "text/error.h"
#include "tli/type_lib_file.h"

#include <QFileInfo>

namespace vantor {

namespace {

// The host file an argument names when it is an existing file holding a type library (a host
// path, or a Windows path of the machine); empty for anything else, which is searched as a ProgID.
QString libraryFileArgument(const QString& argument, const winpath::PrefixPaths* paths) {
    const QString host = argument.startsWith(u'/') || !paths ? argument : paths->toHost(argument);
    if (host.isEmpty() || !QFileInfo(host).isFile())
        return {};
    try {
        return tli::loadTypeLibIds(host).isEmpty() ? QString() : host;
    } catch (const Error&) {
        return {}; // not a library file: the text is searched instead
    }
}

} // namespace

void ApplyCommandLine(const QString& commandLine, MainWindow& window, const Catalogs& catalogs,
                      LibraryFileOpener& files, const winpath::PrefixPaths* paths) {
    try {
        if (commandLine.startsWith(u'{')) {
            const std::optional<GuidArgument> argument = guidArgument(commandLine);
            qint32 index = 0;
            if (argument && BinSearch(catalogs.TLDefs(), argument->key, index))
                window.SelTypInfo(index, argument->typeInfo);
            return;
        }
        const QString file = libraryFileArgument(commandLine, paths);
        if (!file.isEmpty())
            files.openLibraryFile(file);
        else
            window.search().search().Srch2Set(commandLine);
    } catch (const Error&) {
        // As every error of the procedure: the window goes on with the state reached.
    }
}

} // namespace vantor
