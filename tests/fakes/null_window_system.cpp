#include "null_window_system.h"
