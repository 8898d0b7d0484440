// Scene nodes and bones. A node owns its key track and its place in the hierarchy; its world
// placement at a time is evaluated from the keys of it and its ancestors.
#pragma once

#include <string>
#include <vector>

#include "quorvane/anim.h"
#include "quorvane/api.h"
#include "quorvane/math.h"

class CGLWindow;
class cbooleanarray;

// Node type ids.
enum : int {
    QV_TYPE_NODE = 0,
    QV_TYPE_BONE = 4,
    QV_TYPE_SKIN = 6,
};

// Node flag bits.
enum : unsigned {
    QV_FLAG_SELECTED = 1,
    QV_FLAG_HIDDEN = 2,
};

// Draw flag bits.
enum : unsigned {
    QV_DRAW_SELECTED = 4,  // the selected highlight
};

// Inverse-kinematics settings stored on a node (angles in degrees).
struct cikinfo {
    cquat initial;       // initial rotation
    cpoint3 min;         // minimum rotation per axis, degrees
    cpoint3 max;         // maximum rotation per axis, degrees
    int dof = 0;         // IK degrees of freedom switched on (0 or 1)
};

class QVAPI cnode {
public:
    cnode();
    // Slot 0. Detaches children, leaves the parent and the scene.
    virtual ~cnode();
    // Slot 1: self-disposal. Leaves the parent and the scene, detaches the children (they keep
    // their world placement) and frees the node; nothing keeps a pointer to it afterwards.
    virtual void DeleteThis();

    virtual int GetTypeID() const;
    virtual const char* GetName() const;
    virtual void SetName(const char* name);
    virtual ccolor GetColor() const;
    virtual void SetColor(const ccolor& c);
    virtual unsigned GetFlags() const;
    virtual void SetFlags(unsigned flags);

    // --- hierarchy (flag 1: keep the child's world placement at the current time) -----------
    virtual cnode* GetParent() const;
    virtual int NumChildren() const;
    virtual cnode* GetChild(int i) const;
    // Makes child a child of this node (moving it from any other parent).
    virtual void Attach(cnode* child, int keepWorld);
    virtual void Detach(cnode* child, int keepWorld);
    virtual void DetachAll(int keepWorld);

    // --- placement at time t (frames) --------------------------------------------------------
    // World position and rotation (rotation without scale); the node's own scale.
    virtual cpoint3 GetPosition(int t);
    virtual cquat GetRotation(int t);
    virtual cpoint3 GetScale(int t);
    // World matrix = local × parentWorld, local = scale, then rotation, then translation.
    // mode is accepted and ignored. Children take parentWorld from the host's evaluation cache,
    // not through this function.
    virtual cmatrix4 GetNodeTM(int t, int mode = 0);
    // Take world values and store parent-relative keys. With recording on, the key at t is added
    // or replaced (other channels from the interpolated key at t). With recording off, a key at
    // t is changed; otherwise every key gets the same change (a position delta added, a rotation
    // delta composed), so a one-key node simply moves.
    virtual void SetPosition(int t, const cpoint3& p);
    virtual void SetRotation(int t, const cquat& q);
    virtual void SetScale(int t, const cpoint3& s);
    // Makes sure a key exists at t holding the interpolated values.
    virtual void SnapKey(int t);
    // Tells the host that the node's keys changed outside the placement calls.
    virtual void UpdateTimeIdle();

    // --- IK settings (degrees) ---------------------------------------------------------------
    virtual void SetIKInitialRot(const cquat& q);
    virtual void SetIKMinRot(const cpoint3& deg);
    virtual void SetIKMaxRot(const cpoint3& deg);
    virtual void EnableIKDOF(int on);
    const cikinfo& GetIKInfo() const { return ik_; }
    void SetIKInfo(const cikinfo& ik) { ik_ = ik; }

    // --- display -----------------------------------------------------------------------------
    virtual void Flash(int on);
    // Draws the node into the view with OpenGL; flags holds QV_DRAW_* bits.
    virtual void Draw(int t, CGLWindow* view, unsigned flags);
    virtual int GetSeeThroughFlag() const;
    // 1 when this node draws other nodes (its members) in place of a shape of its own.
    virtual int DrawsMembers(int t, int viewKind);
    // 1 when a pick on any of its members picks this node.
    virtual int PicksForMembers(int t);
    // The nodes it draws (members of a container node); none for ordinary nodes.
    virtual int NumMembers() const;
    virtual cnode* GetMember(int i) const;
    // Vertex selection of a deformable node; nodes without vertices ignore it.
    virtual void SetSelection(int t, int level, const cbooleanarray& sel, int replace);

    // The node's key track (parent-relative keys), reached as a member.
    canim anim;

protected:
    cnode* parent_ = nullptr;
    std::vector<cnode*> children_;
    std::string name_;
    ccolor color_;
    unsigned flags_ = 0;
    cikinfo ik_;

    // Host-side evaluation cache: the node's placement at one time. It holds while the scene
    // generation is the one it was made in and `valid` stays set; a write of the node's track
    // or a change of its parent clears `valid` on the node and everything below it.
    struct EvalCache {
        int time = 0;
        unsigned long long generation = 0;  // 0 = empty
        bool valid = false;
        bool haveRotation = false;  // rotation made from world (on first request)
        bool haveInverse = false;   // inverse made from world (on first request)
        bool unasked = false;       // placed with its whole tree, not yet asked for
        cmatrix4 world;
        cquat rotation;             // world rotation without scale
        cmatrix4 inverse;           // Inverse(world)
        cpoint3 scale;              // the node's own scale
    };
    EvalCache cache_;

    friend class QvNodeAccess;  // host internals (scene list, evaluation)
};

// A bone: the node kind of every biped bone. Colour of a new bone: the host's default.
class QVAPI cbone : public cnode {
public:
    cbone();
    ~cbone() override;
    int GetTypeID() const override;
    void Draw(int t, CGLWindow* view, unsigned flags) override;
};

// Makes a new bone outside the scene: one key at time 0 (origin, identity, unit scale),
// the default bone colour, no name, no parent.
QVAPI cbone* CreateNewBone();
