#include "engine/interest.h"
