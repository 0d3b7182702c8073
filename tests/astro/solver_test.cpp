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

void ExpectInverse(const Matrix& original, const Matrix& inverse, int n, double tol) {
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            double sum = 0;
            for (int k = 1; k <= n; ++k) sum += original[i][k] * inverse[k][j];
            EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, tol) << i << "," << j;
        }
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

TEST(Gaussj, TrueInverseWhenRowsAndColumnsMustBeInterchanged) {
    // Largest elements off the diagonal force both row and column swaps.
    const Matrix original = Fill(3, {0, 1, 9, 7, 0, 1, 1, 8, 0});
    Matrix a = original;
    Matrix b = matrix(1, 3, 1, 2);
    b[1][1] = 1; b[2][1] = 2; b[3][1] = 3;
    b[1][2] = -1; b[2][2] = 0; b[3][2] = 5;
    gaussj(a, 3, b, 2);
    ExpectInverse(original, a, 3, 1e-12);
    for (int c = 1; c <= 2; ++c)
        for (int i = 1; i <= 3; ++i) {
            double sum = 0;
            for (int k = 1; k <= 3; ++k) sum += original[i][k] * b[k][c];
            EXPECT_NEAR(sum, c == 1 ? i : (i == 1 ? -1 : i == 2 ? 0 : 5), 1e-12);
        }
}

TEST(Gaussj, RandomSystemsOfPlateFitSize) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5, 5);
    for (int n : {1, 2, 3, 6, 10}) {
        for (int trial = 0; trial < 20; ++trial) {
            Matrix original = matrix(1, n, 1, n);
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j) original[i][j] = u(rng);
            Matrix a = original;
            Matrix b = matrix(1, n, 1, 2);
            gaussj(a, n, b, 2);
            ExpectInverse(original, a, n, 1e-8);
        }
    }
}

TEST(Gaussj, SingularSystemsRaiseWithTheSolverText) {
    EXPECT_EQ(SingularText(Fill(2, {1, 2, 1, 2}), 2), "GAUSSJ: Singular Matrix-2");
    EXPECT_EQ(SingularText(Fill(2, {0, 0, 0, 0}), 2), "GAUSSJ: Singular Matrix-2");
    EXPECT_EQ(SingularText(Fill(3, {1, 0, 0, 2, 0, 0, 3, 0, 1}), 3), "GAUSSJ: Singular Matrix-2");
    // Positions that became not-a-number leave no pivot at all.
    EXPECT_EQ(SingularText(Fill(2, {NAN, NAN, NAN, NAN}), 2), "GAUSSJ: Singular Matrix-1");
}
