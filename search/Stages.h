// The stages of a search, in the order they run. A new stage is a file of its own and a line here.
#pragma once
#include "search/SearchStage.h"
#include <memory>

std::unique_ptr<CSearchStage> MakeWalkStage();
std::unique_ptr<CSearchStage> MakeMp3LengthStage();
std::unique_ptr<CSearchStage> MakeSizeFilterStage();
std::unique_ptr<CSearchStage> MakeChecksumStage();
std::unique_ptr<CSearchStage> MakeGroupingStage();
std::unique_ptr<CSearchStage> MakeSortStage();
std::unique_ptr<CSearchStage> MakeListingStage();

using StageMaker = std::unique_ptr<CSearchStage> (*)();
inline const StageMaker kSearchStages[] = {
    &MakeWalkStage,     &MakeMp3LengthStage, &MakeSizeFilterStage, &MakeChecksumStage,
    &MakeGroupingStage, &MakeSortStage,      &MakeListingStage,
};
