#include "core/neutral/NumericSupport.h"

#include <new>

namespace orvalis {

double** imatrix(int rowLow, int rowHigh, int colLow, int colHigh)
{
    const long long rows = static_cast<long long>(rowHigh) - rowLow + 1;
    const long long cols = static_cast<long long>(colHigh) - colLow + 1;
    double** table = rows > 0 ? new (std::nothrow) double*[static_cast<std::size_t>(rows)] : nullptr;
    if (!table)
        return nullptr;
    table -= rowLow;
    for (int i = rowLow; i <= rowHigh; ++i) {
        double* row = cols > 0 ? new (std::nothrow) double[static_cast<std::size_t>(cols)] : nullptr;
        if (!row) {
            // Give back the rows already had: the caller is told, and the process goes on.
            for (int k = i - 1; k >= rowLow; --k)
                delete[] (table[k] + colLow);
            delete[] (table + rowLow);
            return nullptr;
        }
        table[i] = row - colLow;
    }
    return table;
}

void releaseMatrix(double** m, int rowLow, int rowHigh, int colLow, int /*colHigh*/)
{
    for (int i = rowHigh; i >= rowLow; --i)
        delete[] (m[i] + colLow);
    delete[] (m + rowLow);
}

void seedGaussian(GaussianSource& source, int seed)
{
    source.count = 5;
    source.upperBound = RandomSource::Max;
    source.additive = 3.872983346207417;
    source.factor = 4.727907158064415e-05;
    source.upperBoundReal = RandomSource::Max;
    source.random.seed(static_cast<unsigned int>(seed));
}

}  // namespace orvalis
