#include "platform/registry/tree_compare.h"

namespace vantor::registry::test {

namespace {

void compare(const Key* a, const Key* b, const QString& path, QStringList& out,
             const std::function<bool(const Key*)>& skip) {
    if (out.size() > 20)
        return;
    if (a->isLink() != b->isLink())
        out << path + QStringLiteral(": link flag differs");
    if (a->values().size() != b->values().size())
        out << path + QStringLiteral(": %1 vs %2 values")
                          .arg(a->values().size())
                          .arg(b->values().size());
    for (const Value& v : a->values()) {
        const Value* w = b->value(v.name());
        if (!w)
            out << path + QStringLiteral(": value missing: ") + v.name().toString();
        else if (w->name() != v.name() || w->type() != v.type() || w->data() != v.data())
            out << path + QStringLiteral(": value differs: ") + v.name().toString();
    }
    auto kept = [&](const Key* k) {
        std::vector<const Key*> list;
        for (const Key* s : k->subkeys()) {
            if (!skip || !skip(s))
                list.push_back(s);
        }
        return list;
    };
    const auto as = kept(a);
    const auto bs = kept(b);
    if (as.size() != bs.size()) {
        out << path + QStringLiteral(": %1 vs %2 subkeys").arg(as.size()).arg(bs.size());
        return;
    }
    for (std::size_t i = 0; i < as.size(); ++i) {
        if (as[i]->name() != bs[i]->name())
            out << path + QStringLiteral(": name ") + as[i]->name().toString() +
                       QStringLiteral(" vs ") + bs[i]->name().toString();
        compare(as[i], bs[i], path + u'\\' + as[i]->name().toString(), out, skip);
    }
}

} // namespace

std::string treeDifferences(const Key* a, const Key* b,
                            const std::function<bool(const Key*)>& skip) {
    QStringList out;
    for (const Key* s : a->subkeys()) {
        if (skip && skip(s))
            continue;
        if (!b->subkey(s->name()))
            out << QStringLiteral("missing: ") + s->name().toString();
    }
    if (out.isEmpty())
        compare(a, b, QString(), out, skip);
    return out.join(u'\n').toStdString();
}

int countKeys(const Key* key) {
    int n = 0;
    for (const Key* s : key->subkeys())
        n += 1 + countKeys(s);
    return n;
}

QString primaryHive(const char* name) {
    return QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/") + QString::fromLatin1(name);
}

} // namespace vantor::registry::test
