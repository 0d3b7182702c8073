#include "shell/state_flags.h"

StateFlags sf;
