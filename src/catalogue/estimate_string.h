#pragma once
// The star dialog's estimated-position fields: "h m" for right ascension,
// "d m" for declination. Every character other than a digit, a minus sign or
// a blank separates numbers, so "5h 30m" reads as 5 30 and "5.5" as 5 5.
// One number is the value itself; two are a + b / 60, negative as a whole
// when the text holds a minus sign anywhere ("-0 30" is -0.5). No number
// gives 0.
float fCnvEstStr(const char* text);
