#include "navlib/navlib.h"
