#pragma once

#include "platform/registry/hive.h"

#include <QByteArray>
#include <QString>

namespace vantor::registry {

// The Wine registry file text of the tree below `base`, written as Wine writes it so that a
// person can read it; `root` is the name of the second line ("REGISTRY\\Machine").
QByteArray writeWineHive(const Key* base, const QString& root);

} // namespace vantor::registry
