// A bet component that includes the strategy folder above it: the layering check
// must refuse it.
#pragma once

#include "contracts/Published.h"
#include "strategy/Strategy.h"
