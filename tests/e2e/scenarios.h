// The table of the gadget's end-to-end scenarios, by the name CTest gives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {

struct ScenarioEntry {
  const wchar_t* name;
  std::function<void(Scenario&)> run;
  // How long the scenario may take; CTest allows it half a minute more.
  int limitSeconds = 150;
};

const std::vector<ScenarioEntry>& Scenarios();

}  // namespace e2e
