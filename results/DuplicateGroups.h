// A duplicate group is the array of the full paths of equal files, in folder-walk order;
// the group table holds the groups in their shown order and owns them.
#pragma once
#include "framework/Array.h"

using CGroupArray = CArray<CStringArray*>;
