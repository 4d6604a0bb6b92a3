#pragma once

#include "help/help_config.h"

namespace vantor {
class cRegistry;
namespace registry {
class Store;
}
namespace winpath {
class PrefixPaths;
}
} // namespace vantor

namespace vantor::help {

// The help resolution's view of the machine Vantor reads: its registry store, and its files
// through the prefix (null: a machine of host paths only).
class StoreHelpMachine : public HelpMachine {
public:
    StoreHelpMachine(registry::Store& store, const winpath::PrefixPaths* paths);

    QString windowsFolder() const override;
    bool keyExists(const QString& key) const override;
    QString keyValue(const QString& key, const QString& name) const override;
    bool fileExists(const QString& path) const override;
    bool folderExists(const QString& path) const override;
    QString hostPath(const QString& path) const override;

private:
    registry::Store& store_;
    const winpath::PrefixPaths* paths_;
};

} // namespace vantor::help
