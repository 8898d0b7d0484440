// The transform callback's table: which transforms become an undo level of the tool's own, which
// stay the host's, and that the module's one tool owns the callbacks.
#include "track_fixture.h"

namespace tracktest {
namespace {

TEST(TransformCallbackOwner, ConstructingTheToolPointsBothCallbacksAtIt) {
    {
        cbipanim tool;
        EXPECT_EQ(cbipanim::trnsClbk.owner, &tool);
        EXPECT_EQ(cbipanim::hittestBip.owner, &tool);
        const cbipanim copy(tool);  // a copy is no new owner
        EXPECT_EQ(cbipanim::trnsClbk.owner, &tool);
    }
    PointCallbacksAtTheModuleTool();
    EXPECT_EQ(cbipanim::trnsClbk.IsEnabled(), 1);
    EXPECT_EQ(cbipanim::hittestBip.IsEnabled(), 1);
}

class TransformRouting : public TrackedBiped {
protected:
    void Drag(int type) {
        TransformCallback* cb = Interface::GetTransformCallback();
        ASSERT_NE(cb, nullptr);
        cb->StartTransform(type);
        if (type == QV_XFORM_MOVE || type == QV_XFORM_TYPED_MOVE) cb->Move({0.5f, 0, 0}, 0, 0.0f);
        else if (type == QV_XFORM_ROTATE || type == QV_XFORM_TYPED_ROTATE)
            cb->Rotate({0, 0, 0.0871557f, 0.9961947f});
        else
            cb->Scale({1.5f, 1.5f, 1.5f});
        cb->EndTransform(type);
        EXPECT_FALSE(theUndo.IsOpen()) << "transform type " << type;
    }
};

TEST_F(TransformRouting, WithNoModeEveryTransformIsTheHosts) {
    BindTool("Bip01", kSlotRHand);
    const int levels = theUndo.NumLevels();
    Drag(QV_XFORM_MOVE);
    EXPECT_STREQ(NewestLevelName(), "Move");
    Drag(QV_XFORM_ROTATE);
    EXPECT_STREQ(NewestLevelName(), "Rotate");
    Drag(QV_XFORM_SCALE);
    EXPECT_STREQ(NewestLevelName(), "Scale");
    EXPECT_EQ(theUndo.NumLevels(), levels + 3);
}

TEST_F(TransformRouting, TypedTransformsGroupWithTheDrags) {
    BindTool("Bip01", kSlotRoot);
    bipani.animTransform = 1;
    Drag(QV_XFORM_TYPED_MOVE);
    EXPECT_STREQ(NewestLevelName(), "Biped Move Animation");
    Drag(QV_XFORM_TYPED_ROTATE);
    EXPECT_STREQ(NewestLevelName(), "Biped Rotate Animation");
    Drag(QV_XFORM_TYPED_SCALE);
    EXPECT_STREQ(NewestLevelName(), "Scale");
}

// "Transform" wins over the mirror modes for rotations, and the mirror modes leave moves to the
// host.
TEST_F(TransformRouting, FirstMatchingModeNamesTheLevel) {
    BindTool("Bip01", kSlotLThigh);
    bipani.animTransform = 1;
    bipani.symRotation = 1;
    Drag(QV_XFORM_ROTATE);
    EXPECT_STREQ(NewestLevelName(), "Biped Rotate Animation");
    bipani.animTransform = 0;
    Drag(QV_XFORM_MOVE);
    EXPECT_STREQ(NewestLevelName(), "Move");
}

// Typed values apply the mode without opening a level of their own.
TEST_F(TransformRouting, TypedValuesMakeNoUndoLevel) {
    BindTool("Bip01", kSlotRoot);
    bipani.animTransform = 1;
    const int levels = theUndo.NumLevels();
    TransformCallback* cb = Interface::GetTransformCallback();
    cb->SetPosition({1, 0, 0}, 0, 0, 0.0f);
    cb->SetRotation({0, 0, 20}, 0);
    cb->SetScale({2, 2, 2}, 1);
    EXPECT_EQ(theUndo.NumLevels(), levels);
    EXPECT_FLOAT_EQ(Bone(kSlotRoot)->GetScale(GetAnimTime()).y, 2.0f);
}

}  // namespace
}  // namespace tracktest
