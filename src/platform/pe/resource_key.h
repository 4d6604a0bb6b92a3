#pragma once

#include <QString>
#include <optional>

namespace vantor::pe {

// Resource type ids that Vantor reads.
enum ResourceType : quint16 { RtIcon = 3, RtString = 6, RtGroupIcon = 14, RtVersion = 16 };

// A resource type or name: an integer id, or a text name such as "TYPELIB". Names match
// without regard to case, as the Windows resource lookup does.
class ResourceKey {
public:
    ResourceKey(quint16 id) : id_(id) {}
    ResourceKey(QString name) : name_(std::move(name)) {}

    bool isId() const { return id_.has_value(); }
    quint16 id() const { return id_.value_or(0); }
    const QString& name() const { return name_; }

    bool matches(const ResourceKey& other) const;
    // "#3" for an id, the name itself otherwise; for messages.
    QString toString() const;

private:
    std::optional<quint16> id_;
    QString name_;
};

} // namespace vantor::pe
