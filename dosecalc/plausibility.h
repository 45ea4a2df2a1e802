// Whether a weight is believable for an age: age in days, weight in whole pounds, and a band of
// straight lines over age with whole-pound bounds.
#pragma once
#include <cstdint>

bool plausibleWeightForAge(std::uint16_t weight, std::uint16_t age, bool ageInYears, bool weightInPounds,
                           bool ageInDays);
