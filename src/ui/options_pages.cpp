#include "ui/options_pages.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace vellix {

bool pageAllowed(PageCondition condition, LoginState state) {
    switch (condition) {
        case PageCondition::Always:
            return true;
        case PageCondition::LoggedIn:
            return state.loggedIn;
        case PageCondition::LoggedInWithMessaging:
            return state.loggedIn && state.messaging;
    }
    return false;
}

std::vector<const OptionsPageEntry*> pagesFor(const std::vector<OptionsPageEntry>& entries,
                                              LoginState state) {
    std::vector<const OptionsPageEntry*> shown;
    for (const auto& entry : entries) {
        if (entry.make && pageAllowed(entry.condition, state)) shown.push_back(&entry);
    }
    std::ranges::stable_sort(shown, {}, [](const OptionsPageEntry* e) { return e->slot; });
    return shown;
}

int pageIndexByName(const std::vector<const OptionsPageEntry*>& shown, std::string_view name) {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (equalsNoCase(shown[i]->openName, name)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vellix
