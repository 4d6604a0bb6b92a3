#include "catalog/type_lib_record.h"

#include "catalog/get_token.h"
#include "text/error.h"

namespace vantor {

TypeLibRecord TypeLibRecord::parse(QStringView line) {
    const auto field = [line](int n) {
        try {
            return GetToken(n, line);
        } catch (const Error&) {
            // A line too short to hold the field is no record there: the field stays empty.
            return QString();
        }
    };
    return {field(1), field(2), field(3), field(4), field(5)};
}

} // namespace vantor
