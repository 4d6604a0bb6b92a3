#pragma once

#include "platform/registry/store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

// A machine made of one registry export (its text written as UTF-8), with a program folder.
class SmallMachine {
public:
    explicit SmallMachine(const QString& exportText) {
        QFile file(dir_.filePath("m.reg"));
        file.open(QIODevice::WriteOnly);
        file.write(exportText.toUtf8());
        file.close();
        QDir(dir_.path()).mkpath("program");
        using vantor::registry::Machine;
        store_.emplace(Machine{Machine::Kind::RegFiles, {}, {file.fileName()}}, programFolder());
    }
    vantor::registry::Store& store() { return *store_; }
    QString programFolder() const { return dir_.filePath("program"); }
    QString file(const char* name) const { return programFolder() + u'/' + QLatin1String(name); }

private:
    QTemporaryDir dir_;
    std::optional<vantor::registry::Store> store_;
};
