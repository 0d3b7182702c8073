#include "astro/solver.h"

#include <cmath>
#include <new>
#include <utility>

void nrerror(const char* error_text) { throw NumericalError(error_text); }

Matrix::Matrix(int nrl, int nrh, int ncl, int nch)
    : nrl_(nrl), ncl_(ncl), cols_(static_cast<size_t>(nch - ncl + 1)),
      data_(static_cast<size_t>(nrh - nrl + 1) * cols_, 0.0) {}

IntVector::IntVector(int nl, int nh) : nl_(nl), data_(static_cast<size_t>(nh - nl + 1), 0) {}

Matrix matrix(int nrl, int nrh, int ncl, int nch) {
    try {
        return Matrix(nrl, nrh, ncl, nch);
    } catch (const std::bad_alloc&) {
        nrerror("allocation failure 1 in matrix()");
    }
}

void free_matrix(Matrix& m, int, int, int, int) { m.release(); }

IntVector ivector(int nl, int nh) {
    try {
        return IntVector(nl, nh);
    } catch (const std::bad_alloc&) {
        nrerror("allocation failure in ivector()");
    }
}

void free_ivector(IntVector& v, int, int) { v.release(); }

void gaussj(Matrix& a, int n, Matrix& b, int m) {
    IntVector indxc = ivector(1, n);
    IntVector indxr = ivector(1, n);
    IntVector ipiv = ivector(1, n);
    for (int i = 1; i <= n; i++) {
        double big = 0.0;
        int irow = 0;
        int icol = 0;
        for (int j = 1; j <= n; j++) {
            if (ipiv[j] == 1) continue;
            for (int k = 1; k <= n; k++) {
                if (ipiv[k] == 0) {
                    if (std::fabs(a[j][k]) >= big) {
                        big = std::fabs(a[j][k]);
                        irow = j;
                        icol = k;
                    }
                } else if (ipiv[k] > 1) {
                    nrerror("GAUSSJ: Singular Matrix-1");
                }
            }
        }
        // Only not-a-number elements were left, and the search found no
        // pivot: the last column chosen would be chosen again.
        if (icol == 0) nrerror("GAUSSJ: Singular Matrix-1");
        ++ipiv[icol];
        if (irow != icol) {
            for (int l = 1; l <= n; l++) std::swap(a[irow][l], a[icol][l]);
            for (int l = 1; l <= m; l++) std::swap(b[irow][l], b[icol][l]);
        }
        indxr[i] = irow;
        indxc[i] = icol;
        if (a[icol][icol] == 0.0) nrerror("GAUSSJ: Singular Matrix-2");
        const double pivinv = 1.0 / a[icol][icol];
        a[icol][icol] = 1.0;
        for (int l = 1; l <= n; l++) a[icol][l] *= pivinv;
        for (int l = 1; l <= m; l++) b[icol][l] *= pivinv;
        for (int ll = 1; ll <= n; ll++) {
            if (ll == icol) continue;
            const double dum = a[ll][icol];
            a[ll][icol] = 0.0;
            for (int l = 1; l <= n; l++) a[ll][l] -= a[icol][l] * dum;
            for (int l = 1; l <= m; l++) b[ll][l] -= b[icol][l] * dum;
        }
    }
    for (int l = n; l >= 1; l--) {
        if (indxr[l] != indxc[l])
            for (int k = 1; k <= n; k++) std::swap(a[k][indxr[l]], a[k][indxc[l]]);
    }
}
