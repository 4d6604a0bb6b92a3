#pragma once

#include "platform/pe/resource_key.h"

#include <QByteArray>
#include <QList>

namespace vantor::pe::testing {

struct FixtureResource {
    ResourceKey type;
    ResourceKey name;
    quint16 language = 0;
    QByteArray data;
};

// A minimal PE file with one section holding the resources, and where its parts lie, so that
// tests can corrupt them.
struct BuiltPe {
    QByteArray bytes;
    quint32 optionalHeader = 0; // file offset
    quint32 sectionTable = 0;
    quint32 resourceDirectory = 0;
    quint32 sectionRva = 0;
};

// Resources are grouped by type, then name, in the order given; named keys should come first,
// as resource compilers write them.
BuiltPe buildPe(const QList<FixtureResource>& resources, bool pe32Plus = true);

} // namespace vantor::pe::testing
