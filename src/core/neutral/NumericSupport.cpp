#include "core/neutral/NumericSupport.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace orvalis {

void numericError(const char* message)
{
    std::fputs("Numerical Recipes run-time error...\n", stderr);
    std::fprintf(stderr, "%s\n", message);
    std::fputs("...now exiting to system...\n", stderr);
    std::exit(1);
}

void sizeError()
{
    std::fputs("Error: size greater than 2^level\n", stderr);
    std::exit(1);
}

double** imatrix(int rowLow, int rowHigh, int colLow, int colHigh)
{
    const long long rows = static_cast<long long>(rowHigh) - rowLow + 1;
    const long long cols = static_cast<long long>(colHigh) - colLow + 1;
    double** table = rows > 0 ? new (std::nothrow) double*[static_cast<std::size_t>(rows)] : nullptr;
    if (!table)
        numericError("allocation failure 1 in imatrix()");
    table -= rowLow;
    for (int i = rowLow; i <= rowHigh; ++i) {
        double* row = cols > 0 ? new (std::nothrow) double[static_cast<std::size_t>(cols)] : nullptr;
        if (!row)
            numericError("allocation failure 2 in imatrix()");
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
