#pragma once

#include <QByteArray>
#include <cstdint>

namespace vantor::bench {

struct HiveShape {
    int typeLibs = 4000; // type library GUIDs, each with 1 to 3 versions
    int progIds = 30000; // ProgIDs, each with its CLSID key
    std::uint32_t seed = 1;
};

struct GeneratedHive {
    QByteArray text; // a Wine registry file rooted at HKLM
    int keyLines = 0;
    int typeLibs = 0;
    int versions = 0;
    int progIds = 0;
    int classes = 0;
};

// A hive of the size of a full Windows machine's classes, made by replicating, with fresh GUIDs
// and names, the Typelib, CLSID and ProgID keys of `templateHive` (the text of a real
// system.reg): the same mix of key lines, values and escapes, in the order Wine writes keys.
GeneratedHive generateClassesHive(const QByteArray& templateHive, const HiveShape& shape = {});

} // namespace vantor::bench
