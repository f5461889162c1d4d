#pragma once
// A small part tree for the tests of the part structure and the part list:
// センター(1) { 上(2) { 首(3) }, 下(4), 腕(5) }, 頭(6).

#include "support/EditFixture.h"

class PartTreeTest : public EditTest {
protected:
    CDotPart* center = Add(1, u"センター");
    CDotPart* upper = Add(2, u"上", center);
    CDotPart* neck = Add(3, u"首", upper);
    CDotPart* lower = Add(4, u"下", center);
    CDotPart* arm = Add(5, u"腕", center);
    CDotPart* head = Add(6, u"頭");
};
