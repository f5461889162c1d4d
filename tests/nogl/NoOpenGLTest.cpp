// The editor where OpenGL 3.3 cannot be had (run with a platform that has
// none): the preview pane says so and everything else works.

#include <QFile>
#include <gtest/gtest.h>

#include "app/DocumentDialogCommands.h"
#include "app/FrameFixture.h"
#include "preview/PreviewPane.h"
#include "resources/CommandIds.h"

TEST_F(FrameTest, WithoutOpenGLThePaneExplainsAndTheEditorWorks) {
    QString reason;
    ASSERT_FALSE(CPreviewPane::ProbeOpenGL(reason)) << "this test needs a platform without OpenGL";
    auto* pane = qobject_cast<CPreviewPane*>(frame->ModelView());
    ASSERT_TRUE(pane);
    EXPECT_EQ(nullptr, pane->ModelView());
    EXPECT_TRUE(pane->Message().contains(QStringLiteral("3D プレビューを表示できません")));
    EXPECT_FALSE(Router().QueryState(ID_PREVIEW_PART).enabled) << "no preview, no preview commands";

    // Edit, save, open and generate.
    auto& part = static_cast<CDotPart&>(CurrentPart());
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 1.0f, u"大きさ"));
    part.SetDot(3, 4, 5, 5);
    Document().UpdateAllViews(nullptr, Notice<HINT_DOTS>(&part));
    ASSERT_TRUE(frame->DocManager().SaveTo(File("figure.kbrl")));
    ASSERT_TRUE(frame->OpenDocumentFile(File("figure.kbrl")));
    EXPECT_EQ(1.0f, Document().dotSize);
    ASSERT_TRUE(frame->DialogCommands().GenerateModelTo(File("figure.pmd")));
    EXPECT_TRUE(QFile::exists(File("figure.pmd")));
}
