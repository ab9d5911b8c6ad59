// The failure sweep and the planted processor answers: scenarios that run
// the real gadget with the fault injector loaded into it.
#pragma once

#include <vector>

#include "scenarios.h"

namespace e2e {

void AddSweepScenarios(std::vector<ScenarioEntry>& table);

}  // namespace e2e
