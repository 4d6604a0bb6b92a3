// vantor-chm: reads objects of one compiled help file for the window, in a process of its own so
// that a damaged file can take down only this process. The container and its LZX section are
// read with chmlib: libmspack refuses the files chmcmd writes (the header repeats its first
// GUID where the second belongs, and its LZX decoder rejects chmcmd's compressed stream).
#include "help/chm_protocol.h"

#include <chm_lib.h>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace protocol = vantor::help::chm_protocol;

void answer(char status, const std::vector<unsigned char>& bytes = {}) {
    const auto n = static_cast<std::uint32_t>(bytes.size());
    const unsigned char header[protocol::AnswerHeaderBytes] = {
        static_cast<unsigned char>(status), static_cast<unsigned char>(n),
        static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n >> 16),
        static_cast<unsigned char>(n >> 24)};
    std::fwrite(header, 1, sizeof header, stdout);
    if (n)
        std::fwrite(bytes.data(), 1, n, stdout);
    std::fflush(stdout);
}

void answerRequest(chmFile* chm, const std::string& path) {
    chmUnitInfo unit{};
    if (path.empty() || path.front() != '/' ||
        chm_resolve_object(chm, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS) {
        answer(protocol::Missing);
        return;
    }
    if (unit.length > protocol::MaxAnswerBytes) {
        answer(protocol::Unreadable);
        return;
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(unit.length));
    const LONGINT64 read =
        bytes.empty() ? 0
                      : chm_retrieve_object(chm, &unit, bytes.data(), 0, LONGINT64(bytes.size()));
    if (read != LONGINT64(bytes.size()))
        answer(protocol::Unreadable);
    else
        answer(protocol::Found, bytes);
}

} // namespace

int main(int argc, char** argv) {
    // A damaged file must not let this process take the machine's memory. AddressSanitizer's
    // shadow memory lives in the same address space, so a sanitizer build cannot have the limit.
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit memory{1024ul * 1024 * 1024, 1024ul * 1024 * 1024};
    setrlimit(RLIMIT_AS, &memory);
#endif
    if (argc != 2) {
        std::fputs("usage: vantor-chm FILE.chm\n", stderr);
        return 2;
    }
    chmFile* chm = chm_open(argv[1]);
    if (!chm) {
        answer(protocol::Unreadable);
        return 1;
    }
    answer(protocol::Found);
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c != '\n') {
            if (line.size() <= size_t(protocol::MaxRequestBytes))
                line += char(c);
            continue;
        }
        if (line.size() > size_t(protocol::MaxRequestBytes))
            answer(protocol::Missing);
        else
            answerRequest(chm, line);
        line.clear();
    }
    chm_close(chm);
    return 0;
}
