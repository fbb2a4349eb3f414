#pragma once
// Settings an installer leaves beside the executable in "<executable path>.tmp".

#include <string>

#include "core/profile_file.h"
#include "core/result.h"

namespace vellix {

// At start: copies the hand-over file's section "Vellix" into Vellix.ini, overwriting,
// except keys that begin with "X-" (any case). No hand-over file is not an error.
Status copyHandOverToIni(const std::string& handOverPath, ProfileFile& ini);

// After the account settings arrive, for every section of the hand-over file:
// - "X-name": name gets the file's own "name" entry of that section, else the X- value,
//   and is written to settings.tmp only when settings.tmp has no value for it there;
// - other keys of section "LDAP" are copied to settings.tmp;
// - everything else is ignored.
// Then the hand-over file and the synchronization state ("private.ini", "public.ini",
// "ldpublic.ini", "ldprivate.ini" in userFolder) are deleted. When settings.tmp cannot
// be written, nothing is deleted, so the next login tries again.
Status applyHandOverToAccount(const std::string& handOverPath, ProfileFile& accountSettings,
                              const std::string& userFolder);

}  // namespace vellix
