#pragma once
// Years from 2000.0 to the exposure date, for bringing catalogue positions
// to the date of observation: 0 while the year is empty.
struct DialogData;
double ProperMotionYears(const DialogData& exposure);
