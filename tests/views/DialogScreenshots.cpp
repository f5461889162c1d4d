// Pictures of the rigging dialogs on the standard skeleton, for looking at
// them: run with --gtest_also_run_disabled_tests and KUBRELL_SHOT_DIR set to
// the folder to write them to.

#include <QDir>
#include <QPixmap>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "document/AngleUnits.h"
#include "rigging/BoneDialogModel.h"
#include "document/PhysicsEditing.h"
#include "rigging/StandardBoneDialogModel.h"
#include "views/BoneDialog.h"
#include "views/BoneMarkerSheet.h"
#include "views/PhysicsDetailDialogs.h"
#include "views/PhysicsDialog.h"
#include "views/StandardBoneDialog.h"

namespace {

void Shoot(QWidget& dialog, const QString& name) {
    dialog.show();
    QCoreApplication::processEvents();
    const QString folder = qEnvironmentVariable("KUBRELL_SHOT_DIR", QDir::tempPath());
    EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath(name)));
}

} // namespace

TEST(DialogScreenshots, DISABLED_RiggingDialogs) {
    CDotDocument document;
    document.OnNewDocument();
    CPart* forearm = document.FindPartByName(u"左ひじ");
    ASSERT_NE(forearm, nullptr);
    forearm->angle = {0.3f, 0.0f, -0.5f};
    forearm->ikName = u"左腕IK";
    forearm->ikRange = 1;
    CBoneDialogModel bone(*forearm);
    CBoneDialog boneDialog(bone);
    Shoot(boneDialog, "bone.png");

    document.FindPartByName(u"左腕")->name = u"L腕";
    document.FindPartByName(u"左ひじ")->name = u"Lひじ";
    document.FindPartByName(u"センター")->name = u"中心";
    CStandardBoneDialogModel standard(document);
    CStandardBoneDialog standardDialog(standard);
    standardDialog.List()->item(1)->setCheckState(Qt::Checked);
    Shoot(standardDialog, "standard.png");

    auto* arm = static_cast<CDotPart*>(document.FindPartByName(u"L腕"));
    arm->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    arm->joint = std::make_unique<JOINT_PARAMS>();
    CPhysicsDialogModel physics(*arm);
    CPhysicsDialog physicsDialog(physics);
    Shoot(physicsDialog, "physics.png");
    CRigidBodyDialog rigid(*arm->rigidBody);
    Shoot(rigid, "rigidbody.png");
    CJointDialog joint(*arm->joint);
    Shoot(joint, "joint.png");

    const QString folder = qEnvironmentVariable("KUBRELL_SHOT_DIR", QDir::tempPath());
    EXPECT_TRUE(BoneMarkerSheet(16).scaled(512, 256).save(QDir(folder).filePath("markers.png")));
}
