#pragma once

#include "platform/registry/hive.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace vantor::registry::test {

// Differences between two trees below their roots (names with their spelling, link flags, value
// types and bytes), one line each; empty when none. Subtrees for which `skip` says true are left
// out on both sides.
std::string treeDifferences(const Key* a, const Key* b,
                            const std::function<bool(const Key*)>& skip = {});

// Number of keys below `key`, not counting `key` itself.
int countKeys(const Key* key);

QString primaryHive(const char* name); // a file of testdata/wine-prefix

} // namespace vantor::registry::test
