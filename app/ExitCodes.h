#pragma once
// The exit statuses stand beside the outcomes they belong to.
#include "flow/ExitCodes.h"
