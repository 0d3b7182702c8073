#pragma once
// What Save session tells the user when the session file could not be
// written: why, from the system's error number of the failed write.
#include <string>

std::string SaveFailureText(int error_number);
