// The computer player's search as the rest of the program uses it: include this header.
#pragma once

#include "core/SearchTypes.h"
#include "core/Searcher.h"
