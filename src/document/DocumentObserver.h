#pragma once
// What views implement to hear about document changes.

#include "document/UpdateNotice.h"

class CDocumentObserver {
public:
    virtual ~CDocumentObserver() = default;
    // notice is the hint with the object it carries; sender is the view that
    // caused the change, or null.
    virtual void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) = 0;
};
