// File helpers for the storage tests.
#pragma once

#include "core/table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tavlon::test {

namespace fs = std::filesystem;

// `tail` inside the scratch folder `d`.
inline std::string operator/(const TempDir& d, const std::string& tail) {
    return (fs::path(d.str()) / tail).string();
}

// Names the rows of a parameterised test after the `name` of each table row.
struct RowName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace tavlon::test
