// Gauss-Jordan elimination with full pivoting.

#include <gtest/gtest.h>

#include <random>

#include "astro/solver.h"

namespace {
Matrix Fill(int n, std::initializer_list<double> values) {
    Matrix m = matrix(1, n, 1, n);
    auto it = values.begin();
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m[i][j] = *it++;
    return m;
}

std::string SingularText(Matrix a, int n) {
    Matrix b = matrix(1, n, 1, 1);
    try {
        gaussj(a, n, b, 1);
    } catch (const NumericalError& e) {
        return e.what();
    }
    return "no exception";
}
}  // namespace

// The first system's largest elements lie off the diagonal, forcing row and
// column swaps; the others are random ones of plate-fit size. The inverse
// times the matrix, and the matrix times each solution, give back the unit
// matrix and the right-hand sides.
TEST(Gaussj, SolvesAndInvertsWhenRowsAndColumnsMustBeInterchangedAndSingularSystemsRaiseWithTheSolverText) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5, 5);
    std::vector<std::pair<int, Matrix>> systems = {{3, Fill(3, {0, 1, 9, 7, 0, 1, 1, 8, 0})}};
    for (int n : {1, 2, 3, 6, 10})
        for (int trial = 0; trial < 20; ++trial) {
            systems.emplace_back(n, matrix(1, n, 1, n));
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j) systems.back().second[i][j] = u(rng);
        }
    for (const auto& [n, original] : systems) {
        Matrix a = original;
        Matrix b = matrix(1, n, 1, 2);
        for (int i = 1; i <= n; ++i) b[i][1] = i, b[i][2] = 5 - 2 * i;
        const Matrix rhs = b;
        gaussj(a, n, b, 2);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                double sum = 0;
                for (int k = 1; k <= n; ++k) sum += original[i][k] * a[k][j];
                ASSERT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-8) << n << ": " << i << "," << j;
            }
            for (int c = 1; c <= 2; ++c) {
                double sum = 0;
                for (int k = 1; k <= n; ++k) sum += original[i][k] * b[k][c];
                ASSERT_NEAR(sum, rhs[i][c], 1e-7) << n << ": " << i << "," << c;
            }
        }
    }

    // Singular systems raise with the solver's text.
    EXPECT_EQ(SingularText(Fill(2, {1, 2, 1, 2}), 2), "GAUSSJ: Singular Matrix-2");
    EXPECT_EQ(SingularText(Fill(3, {1, 0, 0, 2, 0, 0, 3, 0, 1}), 3), "GAUSSJ: Singular Matrix-2");
    // Positions that became not-a-number leave no pivot at all.
    EXPECT_EQ(SingularText(Fill(2, {NAN, NAN, NAN, NAN}), 2), "GAUSSJ: Singular Matrix-1");
}
