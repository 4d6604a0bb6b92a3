// dump PATH[\N]: the canonical dump of a library, as tlbdump prints it.
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "text/error.h"
#include "tli/errors.h"
#include "tli/session.h"
#include "tli/tlb_dump.h"

namespace vantor::cli {

namespace {

int dump(CliContext& c) {
    const QString path = c.args.positional(1, 1).first();
    CliMachine& m = c.machine();
    try {
        writeOut(tli::dumpTypeLib(*m.application().session()->open(m.hostPath(path))));
    } catch (const Error&) {
        writeOut(tli::dumpLoadError(tli::ErrorCantLoadLibrary));
        throw;
    }
    return Done;
}

const Command kDump{"dump",
                    "dump PATH[\\N]",
                    "a library in tlbdump's canonical form",
                    "Prints the library of a file (a host path or a Windows path of the machine,\n"
                    "with an optional resource number) in the canonical dump format of tlbdump;\n"
                    "references into other libraries resolve through the machine's registry.\n",
                    false,
                    dump};
const CommandRegistration kRegister{kDump};

} // namespace

} // namespace vantor::cli
