// Window messages that the program's own windows post to the main window.
#pragma once

#include "platform/WinTypes.h"

// A dialog saved a profile: the profile page lists the Profile folder again.
#include "core/ZarnProfileMessages.h"
