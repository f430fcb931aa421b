#pragma once
// Every descriptor class of the descriptor loops.
#include "lib13818/descriptor.h"
#include "lib13818/descriptors_pending.h"
