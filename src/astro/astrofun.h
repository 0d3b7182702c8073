#pragma once
// Spherical astronomy for the reduction, in single precision at the
// interfaces (intermediates in double).
//
// Direction vectors are float[3] unit vectors of the equatorial system:
// x towards RA 0 on the equator, y towards RA 6 h, z towards the north pole.
// Angles given to or taken from the vector functions are radians:
// right ascension in [0, 2 pi), declination in [-pi/2, +pi/2].
//
// Packed sexagesimal numbers hold degrees (or hours), minutes and seconds in
// one value: +-(D*10000 + M*100 + S), S possibly fractional; 12 34 56.7 is
// 123456.7.

// Right ascension and declination (radians) of the unit vector r.
// Notes: a vector on the z axis gives ra = 0 and de = +-1.570796327; a vector
// with x = y = 0 but |z| < 1 gives ra = 0. Components that rounding pushed
// just past the unit sphere are clamped, so the result is never NaN.
void r_rade(const float r[3], float& ra, float& de);

// Unit vector of (ra, de), radians.
void rade_r(float ra, float de, float r[3]);

// Scalar product.
float in_p(const float vec1[3], const float vec2[3]);

// vecr = vec1 x vec2; vecr must be neither vec1 nor vec2.
void out_p(const float vec1[3], const float vec2[3], float vecr[3]);

// Julian day number of the date mm/id/iyyy (the day that begins at noon of
// that date). Gregorian calendar from 15 October 1582, Julian before.
// Negative years are years before Christ; year 0 raises NumericalError
// "JULDAY: there is no year zero.".
// Reference: Press et al., Numerical Recipes in C, 2nd ed., sec. 1.1.
long julianday(int mm, int id, int iyyy);

// Decimal value of a packed sexagesimal number. 0.05 is added before
// splitting so that seconds such as 59.99 are not lost to rounding.
float ghdec(float x);

// Packed sexagesimal value of a decimal number; 12.5 gives 123000. Seconds
// that single precision rounds up to 60 are carried into the minutes (and
// minutes into the degrees): 5.7499995 gives 54500, not 54460.
float decgh(float x);

// The packed value as it is printed with `decimals` decimals ("%.1f" of a
// right ascension, "%.0f" of a declination): when its seconds would show as
// 60 they are carried, so 5 44 59.96 h packs as 54500.0 for one decimal.
// Any other value is exactly decgh(x).
float decgh(float x, int decimals);

// Whether seconds (0 <= seconds < 60) print as 60 with that many decimals.
bool RoundsToSixty(double seconds, int decimals);
