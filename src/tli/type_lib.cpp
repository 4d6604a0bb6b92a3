#include "tli/type_lib.h"

namespace vantor::tli {

QString Guid::toString() const {
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2,
                             data3, data4[0], data4[1], data4[2], data4[3], data4[4], data4[5],
                             data4[6], data4[7]);
}

TypeLib::Target TypeLib::resolve(const TypeRef& ref) const {
    const TypeLib* lib = this;
    if (ref.library >= 0)
        lib = d_.imports[ref.library].library.get();
    if (!lib || ref.index < 0 || size_t(ref.index) >= lib->d_.typeInfos.size())
        return {};
    return {lib, &lib->d_.typeInfos[ref.index]};
}

} // namespace vantor::tli
