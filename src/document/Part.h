#pragma once
// A node of the part tree: a named body part with its bone settings. The
// tree's parent–child relation is also the bone hierarchy of the model.

#include <array>
#include <cstdint>
#include <string>

#include "document/CommandTarget.h"
#include "document/PartParent.h"

class CArchiveReader;
class CArchiveWriter;
class CDotDocument;

enum BoneKind : int32_t {
    BONE_ROTATE = 0, // rotatable bone
    BONE_MOVE = 1,   // movable and rotatable bone
    BONE_NONE = 2,   // no bone of its own when the part has a parent
    BONE_HIDDEN = 3, // left out of the model
};

class CPart : public CCommandTarget, public CPartParent {
public:
    // A row of the standard bone table (defined with the table).
    struct TEMPLATE;
    // The bone settings as one value (defined with the bone commands).
    struct BONE;

    CPart(CDotDocument* document, int id, std::u16string name);
    ~CPart() override;

    CDotDocument* document = nullptr; // the owning document (not owned)
    std::u16string name;              // unique among the document's parts
    int32_t id = 0;                   // ≥ 1, unique among the document's parts
    CPart* parent = nullptr;          // null at the top level (not owned)
    int32_t parentId = 0;             // parent's id while a tree is built; 0 at the top
    int32_t boneKind = BONE_MOVE;     // a BoneKind
    int32_t ikRange = 0;
    std::u16string ikName;
    // The IK parent and the linked part are each a pointer with the id that
    // is stored: set both with SetIkParent and SetLinkedPart. Readers set the
    // id alone and resolve the pointer from it, which may stay null for an id
    // no part has (the id is then kept and written back as it was).
    int32_t ikParentId = 0;
    CPart* ikParent = nullptr; // resolved from ikParentId (not owned)
    int32_t morph = 0;
    CPart* linkedPart = nullptr; // resolved from linkedPartId (not owned)
    int32_t linkedPartId = 0;
    std::array<float, 3> angle{0.0f, 0.0f, 0.0f}; // rest angles x, y, z in radians
    float rate = 1.0f;                            // scale factor of this part and its subtree

    // Reads this part's record and its subtree.
    virtual void Load(CArchiveReader& archive, int version) = 0;
    // Writes this part's record and its subtree.
    virtual void Store(CArchiveWriter& archive) const = 0;
    // Recomputes the placement of this part and its subtree; returns the
    // lowest y of their joint positions.
    virtual float UpdatePlacement() = 0;
    // Deletes this part and its subtree through the undo list as one command
    // with the given undo label; does nothing for a part outside the tree.
    virtual void Delete(const std::u16string& label);
    virtual bool HasRigidBody() const { return false; }
    virtual bool HasJoint() const { return false; }
    virtual bool CanHaveJoint() const { return false; }

    // Sets the pointer and its id together (id 0 for none).
    void SetIkParent(CPart* part);
    void SetLinkedPart(CPart* part);

    // The part's index among its parent's children (the document's top-level
    // list when it has no parent); −1 when it is not found there.
    int GetIndex() const;
    // Whether this part is a proper ancestor of other.
    bool IsAncestorOf(const CPart* other) const;

    // Inserting makes this part the child's parent; removing clears it.
    int InsertChild(int index, std::unique_ptr<CPart> part) override;
    std::unique_ptr<CPart> RemoveChild(int index) override;
};
