#pragma once
// The text of Help > About: the program, its release and the libraries it
// runs on, with the versions found at run time.
#include <string>

inline constexpr const char* kAboutCaption = "About Velkarn";

std::string AboutText();
