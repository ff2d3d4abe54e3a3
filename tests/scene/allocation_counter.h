// Counts calls of the replaced global operator new in the executable that
// links allocation_counter.cpp.
#ifndef TESTS_SCENE_ALLOCATION_COUNTER_H
#define TESTS_SCENE_ALLOCATION_COUNTER_H

long AllocationCount();

#endif
