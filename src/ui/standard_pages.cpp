#include "ui/standard_pages.h"

#include "ui/about_page.h"
#include "ui/misc_page.h"
#include "ui/notifications_page.h"
#include "ui/server_page.h"
#include "ui/sounds_page.h"

namespace vellix {

std::vector<OptionsPageEntry> standardOptionsPages() {
    return {serverPageEntry(), notificationsPageEntry(), soundsPageEntry(), miscPageEntry(),
            aboutPageEntry()};
}

}  // namespace vellix
