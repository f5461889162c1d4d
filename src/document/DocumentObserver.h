#pragma once
// What views implement to hear about document changes.

class CDocumentObserver {
public:
    virtual ~CDocumentObserver() = default;
    // hint is one of the UpdateHint numbers; object is the hint's object (a
    // part, the document or null, depending on the hint). sender is the view
    // that caused the change, or null.
    virtual void OnUpdate(CDocumentObserver* sender, int hint, void* object) = 0;
};
