#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvalis {

// The fast path for 8-bit maps with a few habitat classes: sixteen cells at a time compared
// with each habitat value and the no-data value, and each class counted as it is compared.
// Gives exactly the bits and counts of CellClassifier, several times faster.
class ByteClassifier {
public:
    static constexpr int MaxClasses = 8;

    // From the flags of each of the 256 byte values (HabitatFlag, NoDataFlag); signedCells
    // when the bytes are signed classes. False when the map has more habitat values than the
    // fast path compares, or more than one no-data value.
    bool prepare(const std::vector<unsigned char>& table, bool signedCells);

    // As CellClassifier::row.
    bool row(const std::uint8_t* v, const unsigned char* mask, std::int64_t n, std::uint64_t* habitat,
             std::size_t habitatStep, std::uint64_t* noData);

    std::vector<std::pair<std::int64_t, std::uint64_t>> cellsByClass() const;

private:
    template <int K, bool Masked>
    bool rowOf(const std::uint8_t* v, const unsigned char* mask, std::int64_t n, std::uint64_t* habitat,
               std::size_t habitatStep, std::uint64_t* noData);

    int classCount_ = 0;
    std::uint8_t keys_[MaxClasses] = {};
    std::uint64_t cells_[MaxClasses] = {};
    bool hasNoData_ = false;
    std::uint8_t noDataKey_ = 0;
    bool signed_ = false;
    std::vector<unsigned char> table_;
    std::array<std::int8_t, 256> keyIndex_{};  // position of a habitat value in keys_
};

}  // namespace orvalis
