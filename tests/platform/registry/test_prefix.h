#pragma once

#include "test_files.h"

#include <QString>
#include <QTemporaryDir>

namespace vantor::registry::test {

// A Wine prefix for tests: copies of the hives of testdata/wine-prefix, dosdevices/c: ->
// ../drive_c, whose Windows/System32 (spelled differently from the registry on purpose) links to
// Wine's own binaries; and an empty program folder beside it.
class TestPrefix {
public:
    TestPrefix();
    bool valid() const { return valid_; }
    QString prefix() const { return dir_.path() + QStringLiteral("/prefix"); }
    QString programFolder() const { return dir_.path() + QStringLiteral("/program"); }
    QString path(const QString& name) const { return dir_.path() + u'/' + name; }

    // A digest of the prefix's three hives, to show they were left alone.
    QByteArray hivesHash() const;

    static QString wineBinaries() { return vantor::test::kWineDir; }

private:
    QTemporaryDir dir_;
    bool valid_ = false;
};

} // namespace vantor::registry::test
