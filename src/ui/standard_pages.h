#pragma once
// The options pages of this layer, for the composition root's page list.

#include <vector>

#include "ui/options_pages.h"

namespace vellix {

std::vector<OptionsPageEntry> standardOptionsPages();

}  // namespace vellix
