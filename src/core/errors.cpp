#include "errors.h"
