// A strategy that includes the bet folder below it: allowed.
#pragma once

#include "bets/Component.h"
