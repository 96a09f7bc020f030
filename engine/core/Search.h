// The computer player's search as the rest of the program uses it: include this header.
#pragma once

#include "engine/core/SearchTypes.h"
#include "engine/core/Searcher.h"
