#include "files/options.h"

Options opt;
