#include "platform/registry/store.h"

#include "platform/registry/reg_file_reader.h"
#include "platform/registry/value_type.h"
#include "platform/registry/wine_hive_reader.h"
#include "platform/registry/wine_hive_writer.h"
#include "text/atomic_file.h"
#include "text/error.h"
#include "text/text_order.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace vantor::registry {

namespace {

const QString LocalMachine = QStringLiteral("HKEY_LOCAL_MACHINE");
const QString CurrentUser = QStringLiteral("HKEY_CURRENT_USER");
const QString ClassesRoot = QStringLiteral("HKEY_CLASSES_ROOT");
const QString Users = QStringLiteral("HKEY_USERS");
const QString CurrentConfig = QStringLiteral("HKEY_CURRENT_CONFIG");
const QString Classes = QStringLiteral("Software\\Classes");

// Keys a link may pass through before the walk gives up (links can form cycles).
constexpr int MaxLinkHops = 16;

// Calls f(component) for every non-empty component of a backslash path.
template <typename F> bool forEachComponent(QStringView path, F f) {
    qsizetype start = 0;
    while (start <= path.size()) {
        qsizetype end = path.indexOf(u'\\', start);
        if (end < 0)
            end = path.size();
        if (end > start && !f(path.sliced(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

Store::Store(const Machine& machine, const QString& programFolder) : machine_(machine) {
    Key* top = hive_.root();
    switch (machine.kind) {
    case Machine::Kind::Prefix: {
        const QDir dir(machine.prefix);
        readWineHiveFile(dir.filePath(QStringLiteral("system.reg")), hive_,
                         hive_.addSubkey(top, LocalMachine), issues_);
        const QString user = dir.filePath(QStringLiteral("user.reg"));
        if (QFileInfo::exists(user))
            readWineHiveFile(user, hive_, hive_.addSubkey(top, CurrentUser), issues_);
        const QString userDefault = dir.filePath(QStringLiteral("userdef.reg"));
        if (QFileInfo::exists(userDefault))
            readWineHiveFile(userDefault, hive_,
                             hive_.createPath(top, Users + QStringLiteral("\\.Default")), issues_);
        break;
    }
    case Machine::Kind::RegFiles:
        for (const QString& file : machine.regFiles)
            readRegFile(file, hive_, issues_);
        break;
    case Machine::Kind::None:
        break;
    }
    overlayPath_ =
        QDir(programFolder)
            .filePath(QStringLiteral("overlay/") + machine.id() + QStringLiteral(".reg"));
    loadOverlay();
}

void Store::loadOverlay() {
    QFile file(overlayPath_);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        issues_.push_back({overlayPath_, 0, file.errorString()});
        overlayBad_ = true;
        return;
    }
    const std::size_t before = issues_.size();
    try {
        readWineHive(file.readAll(), overlayPath_, overlay_, overlay_.root(), issues_);
    } catch (const Error& e) {
        issues_.push_back({overlayPath_, 1, e.description()});
    }
    overlayBad_ = issues_.size() != before;
}

bool Store::saveOverlay() {
    QDir().mkpath(QFileInfo(overlayPath_).absolutePath());
    if (overlayBad_) {
        // The damaged file goes aside under a free name before it is replaced.
        QString aside = overlayPath_ + QStringLiteral(".bad");
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = overlayPath_ + QStringLiteral(".bad") + QString::number(n);
        if (QFileInfo::exists(overlayPath_) && !QFile::copy(overlayPath_, aside))
            return false;
        overlayBad_ = false;
    }
    return writeFileAtomically(overlayPath_,
                               writeWineHive(overlay_.root(), QStringLiteral("REGISTRY\\Machine")));
}

const Store::Layers& Store::rootLayers(Root root) const {
    // Found once per root: every lookup starts here.
    std::optional<Layers>& cached = rootLayerCache_[std::size_t(root)];
    if (!cached)
        cached = findRootLayers(root);
    return *cached;
}

Store::Layers Store::findRootLayers(Root root) const {
    Layers layers;
    const Key* top = hive_.root();
    auto add = [&](const Key* k) {
        if (k)
            layers.push_back(k);
    };
    switch (root) {
    case Root::ClassesRoot:
        add(overlay_.find(overlay_.root(), Classes));
        add(top->subkey(ClassesRoot));
        if (const Key* cu = top->subkey(CurrentUser))
            add(hive_.find(cu, Classes));
        if (const Key* lm = top->subkey(LocalMachine))
            add(hive_.find(lm, Classes));
        break;
    case Root::LocalMachine:
        add(overlay_.root());
        add(top->subkey(LocalMachine));
        break;
    case Root::CurrentUser:
        add(top->subkey(CurrentUser));
        break;
    case Root::Users:
        add(top->subkey(Users));
        break;
    case Root::CurrentConfig:
        add(top->subkey(CurrentConfig));
        break;
    }
    return layers;
}

const Key* Store::followLinks(const Key* key) const {
    static const QString machinePrefix = QStringLiteral("\\Registry\\Machine\\");
    static const QString userPrefix = QStringLiteral("\\Registry\\User\\");
    for (int hop = 0; key && key->isLink(); ++hop) {
        const Value* target = key->value(u"SymbolicLinkValue");
        if (hop == MaxLinkHops || !target)
            return nullptr;
        QString path = target->text();
        while (path.endsWith(QChar(0)))
            path.chop(1);
        const Key* top = hive_.root();
        if (startsWithText(path, machinePrefix)) {
            key = hive_.find(top->subkey(LocalMachine),
                             QStringView(path).sliced(machinePrefix.size()));
        } else if (startsWithText(path, userPrefix)) {
            const QStringView rest = QStringView(path).sliced(userPrefix.size());
            const qsizetype slash = rest.indexOf(u'\\');
            const QStringView sid = slash < 0 ? rest : rest.first(slash);
            const QStringView below = slash < 0 ? QStringView() : rest.sliced(slash + 1);
            key = equalsText(sid, u".Default")
                      ? hive_.find(hive_.find(top, Users + QStringLiteral("\\.Default")), below)
                      : hive_.find(top->subkey(CurrentUser), below);
        } else {
            return nullptr;
        }
    }
    return key;
}

Store::Layers Store::open(Root root, QStringView path) const {
    Layers layers = rootLayers(root);
    Layers next;
    forEachComponent(path, [&](QStringView name) {
        next.clear();
        for (const Key* layer : layers) {
            if (const Key* k = followLinks(layer->subkey(name)))
                next.push_back(k);
        }
        layers.swap(next);
        return !layers.empty();
    });
    return layers;
}

bool Store::keyExists(Root root, QStringView path) const {
    return !open(root, path).empty();
}

std::optional<StoredValue> Store::value(Root root, QStringView path, QStringView name) const {
    for (const Key* layer : open(root, path)) {
        if (const Value* v = layer->value(name))
            return StoredValue{v->type(), v->data().toByteArray()};
    }
    return std::nullopt;
}

QStringList Store::subkeyNames(Root root, QStringView path) const {
    const Layers layers = open(root, path);
    QStringList names;
    if (layers.size() == 1) {
        for (const Key* k : layers.front()->subkeys())
            names << k->name().toString();
        return names;
    }
    std::vector<const Key*> all;
    for (const Key* layer : layers)
        all.insert(all.end(), layer->subkeys().begin(), layer->subkeys().end());
    std::stable_sort(all.begin(), all.end(), [](const Key* a, const Key* b) {
        return compareText(a->name(), b->name()) < 0;
    });
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i == 0 || compareText(all[i - 1]->name(), all[i]->name()) != 0)
            names << all[i]->name().toString();
    }
    return names;
}

QStringList Store::valueNames(Root root, QStringView path) const {
    const Layers layers = open(root, path);
    QStringList names;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        for (const Value& v : layers[i]->values()) {
            bool shadowed = false;
            for (std::size_t j = 0; j < i && !shadowed; ++j)
                shadowed = layers[j]->value(v.name()) != nullptr;
            if (!shadowed)
                names << v.name().toString();
        }
    }
    return names;
}

Key* Store::overlayKey(Root root, QStringView path) {
    // A write may add the overlay's classes key, a layer of its own.
    rootLayerCache_ = {};
    switch (root) {
    case Root::ClassesRoot:
        return overlay_.createPath(overlay_.createPath(overlay_.root(), Classes), path);
    case Root::LocalMachine:
        return overlay_.createPath(overlay_.root(), path);
    default:
        return nullptr;
    }
}

bool Store::saveOrDefer() {
    if (batchDepth_ > 0) {
        unsaved_ = true;
        return true;
    }
    return saveOverlay();
}

bool Store::Batch::commit() {
    committed_ = true;
    --store_.batchDepth_;
    if (store_.batchDepth_ > 0 || !store_.unsaved_)
        return true;
    store_.unsaved_ = false;
    return store_.saveOverlay();
}

bool Store::createKey(Root root, QStringView path) {
    if (!overlayKey(root, path))
        return false;
    return saveOrDefer();
}

bool Store::setValue(Root root, QStringView path, QStringView name, std::uint32_t type,
                     QByteArrayView data) {
    Key* key = overlayKey(root, path);
    if (!key)
        return false;
    overlay_.setValue(key, name, type, data);
    environment_.reset();
    return saveOrDefer();
}

bool Store::removeOverlayKey(Root root, QStringView path) {
    Key* base = nullptr;
    if (root == Root::ClassesRoot)
        base = overlay_.find(overlay_.root(), Classes);
    else if (root == Root::LocalMachine)
        base = overlay_.root();
    Key* key = base ? overlay_.find(base, path) : nullptr;
    if (!key || key == base)
        return false;
    overlay_.removeKey(key);
    // Parents the removal leaves empty would show as keys without content.
    QStringView parent = path;
    for (qsizetype cut = parent.lastIndexOf(u'\\'); cut > 0; cut = parent.lastIndexOf(u'\\')) {
        parent = parent.first(cut);
        Key* up = overlay_.find(base, parent);
        if (!up || up == base || !up->subkeys().empty() || !up->values().empty())
            break;
        overlay_.removeKey(up);
    }
    rootLayerCache_ = {};
    environment_.reset();
    return saveOrDefer();
}

QString Store::defaultText(Root root, QStringView path) const {
    return valueText(root, path, QString());
}

QString Store::valueText(Root root, QStringView path, QStringView name) const {
    const std::optional<StoredValue> v = value(root, path, name);
    if (!v || !isStringType(v->type))
        return {};
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(v->data.constData()),
                                      v->data.size() / 2);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return v->type == RegExpandSz ? expandEnvironment(text) : text;
}

QString Store::systemRoot() const {
    const auto v = value(Root::LocalMachine, u"Software\\Microsoft\\Windows NT\\CurrentVersion",
                         u"SystemRoot");
    if (v && isStringType(v->type)) {
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(v->data.constData()),
                                          v->data.size() / 2);
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
        if (!text.isEmpty())
            return text;
    }
    return QStringLiteral("C:\\windows");
}

QString Store::expandEnvironment(QStringView text) const {
    if (!environment_) {
        QHash<QString, QString> env;
        env.insert(foldedText(u"SystemRoot"), systemRoot());
        static const QString key =
            QStringLiteral("System\\CurrentControlSet\\Control\\Session Manager\\Environment");
        std::vector<std::pair<QString, QString>> expandable;
        for (const Key* layer : open(Root::LocalMachine, key)) {
            for (const Value& v : layer->values()) {
                const QString name = foldedText(v.name());
                if (env.contains(name) || !isStringType(v.type()))
                    continue;
                QString data = v.text();
                const qsizetype nul = data.indexOf(QChar(0));
                if (nul >= 0)
                    data.truncate(nul);
                env.insert(name, data);
                if (v.type() == RegExpandSz)
                    expandable.emplace_back(name, data);
            }
        }
        environment_ = env;
        // Variables that refer to others (windir = %SystemRoot%) are expanded once, as Windows
        // does when it builds a process's environment.
        for (const auto& [name, data] : expandable)
            env.insert(name, expandEnvironment(data));
        environment_ = std::move(env);
    }
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'%', i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            out += text.sliced(i);
            break;
        }
        out += text.sliced(i, open - i);
        const QStringView name = text.sliced(open + 1, close - open - 1);
        const auto it = environment_->constFind(foldedText(name));
        if (!name.isEmpty() && it != environment_->cend())
            out += *it;
        else
            out += text.sliced(open, close - open + 1);
        i = close + 1;
    }
    return out;
}

} // namespace vantor::registry
