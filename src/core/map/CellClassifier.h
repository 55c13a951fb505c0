#pragma once

#include "core/map/HabitatClasses.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

namespace orvalis {

// Flag bits of one cell while a row is classified.
constexpr unsigned char HabitatFlag = 1;
constexpr unsigned char NoDataFlag = 2;

// A band's no-data value as GDAL gives it: 64-bit bands give it exactly, the others as a double.
struct NoDataValue {
    bool has = false;
    bool isSigned = true;
    std::int64_t asSigned = 0;
    std::uint64_t asUnsigned = 0;
};

// Whether a cell of type T holds the no-data value; one the type cannot hold is no cell's value.
template <typename T>
struct NoDataTest {
    bool has = false;
    T value{};

    explicit NoDataTest(const NoDataValue& nd)
    {
        if (!nd.has)
            return;
        if constexpr (std::is_same_v<T, std::uint64_t>) {
            has = !nd.isSigned || nd.asSigned >= 0;
            value = nd.isSigned ? static_cast<std::uint64_t>(nd.asSigned) : nd.asUnsigned;
        } else if (nd.isSigned) {
            has = nd.asSigned >= static_cast<std::int64_t>(std::numeric_limits<T>::min()) &&
                  nd.asSigned <= static_cast<std::int64_t>(std::numeric_limits<T>::max());
            value = static_cast<T>(nd.asSigned);
        } else {
            has = nd.asUnsigned <= static_cast<std::uint64_t>(std::numeric_limits<T>::max());
            value = static_cast<T>(nd.asUnsigned);
        }
    }
    bool operator()(T v) const { return has && v == value; }
};

// A cell value as a class number; values past the 64-bit signed range name no class.
template <typename T>
bool asClass(T v, std::int64_t& cls)
{
    if constexpr (std::is_same_v<T, std::uint64_t>) {
        if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return false;
    }
    cls = static_cast<std::int64_t>(v);
    return true;
}

// Packs the two flag bits of n flags (zero beyond n up to a multiple of 64) into words, those of
// habitat habitatStep apart; true when any cell is no-data.
bool packFlags(const unsigned char* flags, std::int64_t n, std::uint64_t* habitat, std::size_t habitatStep,
               std::uint64_t* noData);

// Habitat and no-data bits of rows of cells of type T, and the cells of each habitat class.
// Types of 8 and 16 bits are looked up in a table; wider ones are classified once per run of
// equal values, which classified maps are made of.
template <typename T>
class CellClassifier {
public:
    static constexpr bool Dense = sizeof(T) <= 2;
    using Key = std::make_unsigned_t<T>;

    CellClassifier(const HabitatClasses& classes, const NoDataValue& nd) : classes_(classes), noData_(nd)
    {
        if constexpr (Dense) {
            constexpr std::size_t size = std::size_t{1} << (8 * sizeof(T));
            table_.assign(size, 0);
            cellsByKey_.assign(size, 0);
            for (std::size_t k = 0; k < size; ++k)
                table_[k] = flagOf(static_cast<T>(static_cast<Key>(k)));
        } else {
            cellsByIndex_.assign(classes.size(), 0);
            last_ = std::numeric_limits<T>::max();
            lastFlag_ = flagOf(last_);
        }
    }

    // Flags of each key, for a faster path that starts from them.
    const std::vector<unsigned char>& table() const { return table_; }

    // Bits of n cells (mask, when not null, 0 where GDAL masks a cell out) into words of habitat
    // (habitatStep apart) and of no-data; true when any cell is no-data.
    bool row(const T* v, const unsigned char* mask, std::int64_t n, std::uint64_t* habitat, std::size_t habitatStep,
             std::uint64_t* noData)
    {
        const std::int64_t padded = (n + 63) / 64 * 64;
        if (static_cast<std::int64_t>(flags_.size()) < padded)
            flags_.resize(static_cast<std::size_t>(padded));
        std::fill(flags_.begin() + n, flags_.begin() + padded, 0);
        classify(v, n, flags_.data());
        if (mask)
            for (std::int64_t i = 0; i < n; ++i)
                flags_[i] = mask[i] ? flags_[i] : NoDataFlag;
        const bool anyNoData = packFlags(flags_.data(), n, habitat, habitatStep, noData);
        count(v, habitat, habitatStep, n);
        if constexpr (!Dense)
            span(v, n);
        return anyNoData;
    }

    // The lowest and highest class of the valid cells seen; beyond64 when one is past int64.
    std::int64_t lowest() const { return lowest_; }
    std::int64_t highest() const { return highest_; }
    bool beyond64() const { return beyond64_; }

    // The habitat classes met, ascending, with their cells.
    std::vector<std::pair<std::int64_t, std::uint64_t>> cellsByClass() const
    {
        std::vector<std::pair<std::int64_t, std::uint64_t>> out;
        if constexpr (Dense) {
            for (std::size_t k = 0; k < cellsByKey_.size(); ++k)
                if (cellsByKey_[k])
                    out.emplace_back(static_cast<T>(static_cast<Key>(k)), cellsByKey_[k]);
            std::sort(out.begin(), out.end());
        } else {
            for (std::size_t i = 0; i < cellsByIndex_.size(); ++i)
                if (cellsByIndex_[i])
                    out.emplace_back(classes_.values()[i], cellsByIndex_[i]);
        }
        return out;
    }

private:
    unsigned char flagOf(T v) const
    {
        if (noData_(v))
            return NoDataFlag;
        std::int64_t cls = 0;
        return asClass(v, cls) && classes_.contains(cls) ? HabitatFlag : 0;
    }

    void classify(const T* v, std::int64_t n, unsigned char* flags)
    {
        if constexpr (Dense) {
            const unsigned char* table = table_.data();
            for (std::int64_t i = 0; i < n; ++i)
                flags[i] = table[static_cast<Key>(v[i])];
        } else {
            T last = last_;
            unsigned char flag = lastFlag_;
            for (std::int64_t i = 0; i < n; ++i) {
                if (v[i] != last) {
                    last = v[i];
                    flag = flagOf(last);
                }
                flags[i] = flag;
            }
            last_ = last;
            lastFlag_ = flag;
        }
    }

    // Widens the range of classes by the valid cells among v, once a run of equal values.
    void span(const T* v, std::int64_t n)
    {
        for (std::int64_t i = 0; i < n; ++i) {
            if (flags_[static_cast<std::size_t>(i)] == NoDataFlag || (i > 0 && v[i] == v[i - 1] &&
                                                                     flags_[static_cast<std::size_t>(i) - 1] != NoDataFlag))
                continue;
            std::int64_t cls = 0;
            if (!asClass(v[i], cls)) {
                beyond64_ = true;
                continue;
            }
            lowest_ = std::min(lowest_, cls);
            highest_ = std::max(highest_, cls);
        }
    }

    // Adds the habitat cells among v (set bits of habitat) to their classes.
    void count(const T* v, const std::uint64_t* habitat, std::size_t step, std::int64_t n)
    {
        for (std::int64_t w = 0; w * 64 < n; ++w) {
            std::uint64_t bits = habitat[static_cast<std::size_t>(w) * step];
            const T* cells = v + w * 64;
            if (bits == ~std::uint64_t{0} && std::all_of(cells + 1, cells + 64, [&](T c) { return c == cells[0]; })) {
                add(cells[0], 64);
                continue;
            }
            while (bits) {
                add(cells[std::countr_zero(bits)], 1);
                bits &= bits - 1;
            }
        }
    }

    void add(T v, std::uint64_t cells)
    {
        if constexpr (Dense) {
            cellsByKey_[static_cast<Key>(v)] += cells;
        } else {
            if (v != counted_ || countedIndex_ < 0) {
                std::int64_t cls = 0;
                counted_ = v;
                countedIndex_ = asClass(v, cls) ? classes_.indexOf(cls) : -1;
            }
            cellsByIndex_[static_cast<std::size_t>(countedIndex_)] += cells;
        }
    }

    const HabitatClasses& classes_;
    NoDataTest<T> noData_;
    std::vector<unsigned char> flags_;
    std::vector<unsigned char> table_;
    std::vector<std::uint64_t> cellsByKey_;
    std::vector<std::uint64_t> cellsByIndex_;
    T last_{};
    unsigned char lastFlag_ = 0;
    T counted_{};
    std::int64_t countedIndex_ = -1;
    std::int64_t lowest_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t highest_ = std::numeric_limits<std::int64_t>::min();
    bool beyond64_ = false;
};

}  // namespace orvalis
