// Any bytes as vantor.ini: reading every key, then an edit that must read back and keep the
// rest of the file.
#include "app/ini_document.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniDocument doc = parseIni(bytes);
    const qsizetype before = doc.lines.size();
    for (const char* section : {"FrmSpecs", "TLB_MRU", "", "["})
        for (const char* key : {"Height", "count", "", "="})
            iniValue(doc, QString::fromLatin1(section), QString::fromLatin1(key));

    setIniValue(doc, u"TLB_MRU", u"mru01", u"{G}#1.0#Help#Lib#dll");
    const IniDocument again = parseIni(serializeIni(doc));
    if (iniValue(again, u"tlb_mru", u"MRU01") != QStringLiteral("{G}#1.0#Help#Lib#dll"))
        __builtin_trap();
    if (again.lines.size() < before)
        __builtin_trap();
    removeIniKey(doc, u"TLB_MRU", u"mru01");
    return 0;
}
