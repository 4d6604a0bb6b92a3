#pragma once

#include "platform/registry/hive.h"
#include "platform/registry/machine.h"
#include "platform/registry/parse_issue.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantor::registry {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

struct StoredValue {
    std::uint32_t type = 0;
    QByteArray data;
};

// The registry of one machine as the program sees it: the machine's own hives, read-only, with
// the writable overlay hive of the program folder over them. HKEY_CLASSES_ROOT is the merged
// view of the overlay's and HKLM's Software\Classes with HKCU's. Paths are backslash-separated,
// relative to the root; a trailing backslash changes nothing; names ignore case.
class Store {
public:
    // Reads the machine's files and the overlay `<programFolder>/overlay/<id>.reg`. A machine
    // file that cannot be read or is no registry file raises vantor::Error; malformed lines are
    // skipped and listed in issues().
    Store(const Machine& machine, const QString& programFolder);

    const Machine& machine() const { return machine_; }
    const ParseIssues& issues() const { return issues_; }
    QString overlayPath() const { return overlayPath_; }

    bool keyExists(Root root, QStringView path) const;
    std::optional<StoredValue> value(Root root, QStringView path, QStringView name) const;
    // Subkey names in the text order, each once, spelled as the uppermost layer spells it.
    QStringList subkeyNames(Root root, QStringView path) const;
    // A key's default value as text: up to its first NUL, environment references expanded for
    // REG_EXPAND_SZ; empty when there is none or it is no string.
    QString defaultText(Root root, QStringView path) const;
    // The same for a named value.
    QString valueText(Root root, QStringView path, QStringView name) const;
    QStringList valueNames(Root root, QStringView path) const;

    // Writes land in the overlay, which is saved (atomically) at once, or at the end of the
    // batch that holds them. False when the root is
    // not one the overlay holds (it holds HKLM and so HKCR) or the save fails.
    bool createKey(Root root, QStringView path);
    bool setValue(Root root, QStringView path, QStringView name, std::uint32_t type,
                  QByteArrayView data);

    // Removes a key and its subtree from the overlay (the machine's own keys show again), and
    // the overlay parents it leaves empty; false when the overlay has no such key or the save
    // fails.
    bool removeOverlayKey(Root root, QStringView path);

    // %name% references replaced from the machine's system environment (the Session Manager's
    // Environment key and SystemRoot); unknown references stay as they are.
    QString expandEnvironment(QStringView text) const;
    // The machine's Windows folder as a Windows path ("C:\windows" unless the registry says).
    QString systemRoot() const;

    // Groups writes into one save of the overlay (registering a large library writes thousands
    // of values). commit() saves and tells whether that worked; a batch left without commit
    // saves what it holds when it ends.
    class Batch {
    public:
        explicit Batch(Store& store) : store_(store) { ++store_.batchDepth_; }
        ~Batch() {
            if (!committed_)
                commit();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        bool commit();

    private:
        Store& store_;
        bool committed_ = false;
    };

private:
    bool saveOrDefer();
    using Layers = std::vector<const Key*>;
    const Layers& rootLayers(Root root) const;
    Layers findRootLayers(Root root) const;
    Layers open(Root root, QStringView path) const;
    const Key* followLinks(const Key* key) const;
    Key* overlayKey(Root root, QStringView path);
    void loadOverlay();
    bool saveOverlay();

    Machine machine_;
    Hive hive_;    // top-level keys named as the roots ("HKEY_LOCAL_MACHINE", ...)
    Hive overlay_; // rooted at HKLM
    mutable std::array<std::optional<Layers>, 5> rootLayerCache_;
    int batchDepth_ = 0;
    bool unsaved_ = false;
    QString overlayPath_;
    bool overlayBad_ = false; // kept aside before the next save
    ParseIssues issues_;
    mutable std::optional<QHash<QString, QString>> environment_;
};

} // namespace vantor::registry
