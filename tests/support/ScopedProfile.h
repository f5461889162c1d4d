#pragma once
// Installs a fresh in-memory profile for the life of a test.

#include "document/Profile.h"

class CScopedProfile {
public:
    CScopedProfile() { SetProfile(&profile); }
    ~CScopedProfile() { SetProfile(nullptr); }
    CScopedProfile(const CScopedProfile&) = delete;
    CScopedProfile& operator=(const CScopedProfile&) = delete;

    CMemoryProfile profile;
};
