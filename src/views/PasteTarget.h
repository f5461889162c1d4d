#pragma once
// A view that can take what is on the clipboard (the part list takes a part,
// the dot view a dot block or a picture).

class CPasteTarget {
public:
    virtual ~CPasteTarget() = default;
    virtual void Paste() = 0;
};
