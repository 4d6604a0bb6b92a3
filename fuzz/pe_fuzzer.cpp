// Any bytes given to the PE resource reader either read or fail with vantor::Error.
#include "platform/pe/icon_group.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "text/error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor::pe;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        PeResources pe(bytes, QStringLiteral("fuzz"));
        for (quint16 id : pe.typelibIds())
            pe.typelib(id);
        for (const ResourceKey& type : pe.types())
            pe.names(type);
        pe.entries();
    } catch (const vantor::Error&) {
    }
    try {
        PeResources pe(bytes);
        if (const auto group = firstIconGroup(pe)) {
            smallIcon(*group);
            toIcoFile(*group);
        }
    } catch (const vantor::Error&) {
    }
    try {
        PeResources pe(bytes);
        if (const auto version = versionInfo(pe))
            version->value(u"FileVersion");
    } catch (const vantor::Error&) {
    }
    // The version and icon parsers also see raw bytes, as a resource would give them.
    try {
        parseVersionInfo(bytes).value(u"CompanyName");
    } catch (const vantor::Error&) {
    }
    try {
        parseIconGroup(bytes);
    } catch (const vantor::Error&) {
    }
    return 0;
}
