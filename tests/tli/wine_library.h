#pragma once

#include "tli_test_support.h"

#include <gtest/gtest.h>
#include <ostream>

namespace vantor::tli::testing {

// The suite run once per library of the oracle's index; each test is named by its library.
class WineLibrary : public ::testing::TestWithParam<IndexRow> {};

inline void PrintTo(const IndexRow& row, std::ostream* os) {
    *os << row.dump.toStdString();
}

} // namespace vantor::tli::testing
