#pragma once
// Every descriptor class of the descriptor loops.
#include "lib13818/descriptor.h"
#include "lib13818/descriptors_data.h"
#include "lib13818/descriptors_misc.h"
#include "lib13818/descriptors_mpeg.h"
#include "lib13818/descriptors_multilingual.h"
#include "lib13818/descriptors_rating.h"
#include "lib13818/descriptors_terrestrial.h"
#include "lib13818/descriptors_pending.h"
