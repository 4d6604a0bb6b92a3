#pragma once

#include "tli/type_lib_info.h"

#include <QString>

namespace vantor {

// The two script dialects of the constants include file.
enum class ScriptDialect { VBScript, JScript };

struct ConstantsCode {
    QString text;
    qint32 count = 0; // constants written
};

// Every constant of the groups as script declarations, a comment line naming each group before
// its constants; groups whose name begins with "_" are left out.
ConstantsCode constantsCode(const QList<tli::ConstantGroup>& groups, ScriptDialect dialect);

} // namespace vantor
