#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace vantor::tli {

// A GUID in its binary layout: Data1, Data2, Data3 and the eight bytes of Data4.
struct Guid {
    quint32 data1 = 0;
    quint16 data2 = 0;
    quint16 data3 = 0;
    std::array<quint8, 8> data4{};

    bool isNull() const { return *this == Guid{}; }
    bool operator==(const Guid&) const = default;

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
    QString toString() const;
};

} // namespace vantor::tli
