// ListedFile: a file of the results as the search listed it, and whether the list still shows it.
#pragma once
#include "framework/FileSystem.h"

// A file whose row has gone (deleted, moved) is no longer shown, and no longer counts as a copy.
struct ListedFile
{
    ListedState state;
    bool shown = true;
};
