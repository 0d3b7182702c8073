#pragma once
// Numbers in files, list texts and the command line's output always carry a
// decimal point, whatever locale the process runs under: a desktop program
// takes the user's locale from the environment (LC_NUMERIC=de_DE gives a
// decimal comma), but a session file, the settings and the catalogue have
// one fixed layout.
//
// CNumericLocale switches the calling thread to the "C" locale for its
// lifetime (uselocale), so the C library's printf and scanf families inside
// its scope format and read as the files expect. The process's own locale
// and every other thread are left alone. Scopes nest.

class CNumericLocale {
public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    void* previous_ = nullptr;  // the thread's locale before (a locale_t)
};

// strtod, strtof and atof as they read under the "C" locale.
double StrToDoubleC(const char* text, char** end);
float StrToFloatC(const char* text, char** end);
double AtofC(const char* text);
