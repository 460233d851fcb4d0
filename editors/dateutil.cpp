#include "editors/dateutil.h"
