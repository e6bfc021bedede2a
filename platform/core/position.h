// The opaque iteration handle of the lists and maps: a node address, or null past the end.
#pragma once

#include "platform/core/types.h"

struct CollectionPosition;
typedef CollectionPosition* POSITION;

// Where a map walk starts: GetNextAssoc takes it to the first entry.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(intptr_t(-1)))
