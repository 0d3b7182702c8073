#pragma once
// Gauss-Jordan solver with full pivoting, and the index-range containers it
// works on. All callers use 1-based indices: a matrix made by matrix(1, n, 1, n)
// has its first element at (1, 1).
// Reference: Press et al., Numerical Recipes in C, 2nd ed., sec. 2.1.

#include <vector>

#include "astro/numerical_error.h"

// A matrix of double addressed with the index ranges it was made for.
class Matrix {
public:
    Matrix() = default;
    Matrix(int nrl, int nrh, int ncl, int nch);

    class Row {
    public:
        double& operator[](int j) { return row_[j - ncl_]; }
        double operator[](int j) const { return row_[j - ncl_]; }
    private:
        friend class Matrix;
        Row(double* row, int ncl) : row_(row), ncl_(ncl) {}
        double* row_;
        int ncl_;
    };
    Row operator[](int i) { return Row(&data_[static_cast<size_t>(i - nrl_) * cols_], ncl_); }
    const Row operator[](int i) const {
        return Row(const_cast<double*>(&data_[static_cast<size_t>(i - nrl_) * cols_]), ncl_);
    }
    void release() { data_.clear(); data_.shrink_to_fit(); }

private:
    int nrl_ = 0;
    int ncl_ = 0;
    size_t cols_ = 0;
    std::vector<double> data_;
};

// A vector of int addressed over nl..nh.
class IntVector {
public:
    IntVector() = default;
    IntVector(int nl, int nh);
    int& operator[](int i) { return data_[i - nl_]; }
    void release() { data_.clear(); data_.shrink_to_fit(); }

private:
    int nl_ = 0;
    std::vector<int> data_;
};

// Rows nrl..nrh, columns ncl..nch, all elements 0. An allocation failure
// raises NumericalError "allocation failure 1 in matrix()".
Matrix matrix(int nrl, int nrh, int ncl, int nch);
void free_matrix(Matrix& m, int nrl, int nrh, int ncl, int nch);
IntVector ivector(int nl, int nh);
void free_ivector(IntVector& v, int nl, int nh);

// Replaces a[1..n][1..n] by its inverse and every column of b[1..n][1..m] by
// the solution for that right-hand side. Pivot: the last element of largest
// magnitude in row-then-column order. A singular matrix raises NumericalError
// "GAUSSJ: Singular Matrix-1" (a column chosen twice) or "GAUSSJ: Singular
// Matrix-2" (a zero pivot); a and b are then in an undefined state.
void gaussj(Matrix& a, int n, Matrix& b, int m);
