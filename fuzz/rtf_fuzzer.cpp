// Any text as pane RTF: reading it and rendering it into a document.
#include "browser/rtf_document.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Latin-1 keeps every byte one character, so the fuzzer can reach any control sequence.
    const QString rtf = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    vantor::renderRtf(rtf, document);
    return 0;
}
