#include "cli/cli_command.h"

#include <QJsonDocument>
#include <algorithm>
#include <cstdio>

namespace vantor::cli {

namespace {

QList<const Command*>& registry() {
    static QList<const Command*> list;
    return list;
}

} // namespace

bool CliArgs::takeFlag(const QString& name) {
    return args_.removeAll(name) > 0;
}

QString CliArgs::takeValue(const QString& name) {
    QString value;
    for (qsizetype i = 0; i < args_.size();) {
        if (args_[i] == name) {
            if (i + 1 >= args_.size())
                throw UsageError(name + QStringLiteral(" needs a value"));
            value = args_[i + 1];
            args_.remove(i, 2);
        } else if (args_[i].startsWith(name + u'=')) {
            value = args_[i].mid(name.size() + 1);
            args_.remove(i);
        } else {
            ++i;
        }
    }
    return value;
}

QStringList CliArgs::positional(int min, int max) {
    for (const QString& a : args_)
        if (a.size() > 1 && a.startsWith(u'-'))
            throw UsageError(QStringLiteral("unknown option ") + a);
    if (args_.size() < min)
        throw UsageError(QStringLiteral("missing argument"));
    if (args_.size() > max)
        throw UsageError(QStringLiteral("unexpected argument ") + args_[max]);
    return args_;
}

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeText(const QString& text) {
    writeOut(text.toUtf8());
}

void writeJson(const QJsonObject& document) {
    writeOut(QJsonDocument(document).toJson(QJsonDocument::Indented));
}

CommandRegistration::CommandRegistration(const Command& command) {
    registry().append(&command);
}

QList<const Command*> commands() {
    QList<const Command*> list = registry();
    std::sort(list.begin(), list.end(),
              [](const Command* a, const Command* b) { return qstrcmp(a->name, b->name) < 0; });
    return list;
}

const Command* findCommand(const QString& name) {
    for (const Command* c : registry())
        if (name == QLatin1String(c->name))
            return c;
    return nullptr;
}

} // namespace vantor::cli
