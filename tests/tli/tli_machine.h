#pragma once

#include "platform/registry/store.h"
#include "platform/registry/test_prefix.h"
#include "platform/winpath/win_path.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <optional>

namespace vantor::tli::testing {

// A TLIApplication over the real Wine prefix's registry, whose system32 holds Wine's binaries.
class PrefixMachine {
public:
    PrefixMachine() {
        if (!prefix_.valid())
            return;
        store_.emplace(registry::Machine{registry::Machine::Kind::Prefix, prefix_.prefix(), {}},
                       prefix_.programFolder());
        paths_.emplace(prefix_.prefix(), store_->systemRoot());
        app_.emplace(&*store_, &*paths_);
    }
    bool valid() const { return app_.has_value(); }
    registry::test::TestPrefix& prefix() { return prefix_; }
    registry::Store& store() { return *store_; }
    const winpath::PrefixPaths& paths() const { return *paths_; }
    TLIApplication& app() { return *app_; }

    // A library of Wine's binaries by its Windows path in the prefix.
    std::unique_ptr<TypeLibInfo> open(const QString& file) {
        return app_->typeLibInfoFromFile(QStringLiteral("C:\\windows\\system32\\") + file);
    }

private:
    registry::test::TestPrefix prefix_;
    std::optional<registry::Store> store_;
    std::optional<winpath::PrefixPaths> paths_;
    std::optional<TLIApplication> app_;
};

} // namespace vantor::tli::testing
