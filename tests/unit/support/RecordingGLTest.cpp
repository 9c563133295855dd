#include <GL/gl.h>
#include <gtest/gtest.h>

#include "RecordingGL.h"

namespace {

TEST(RecordingGL, ListsStoreTheirCallsAndReplayThemWhenCalled) {
    gl_record::Reset();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glTranslatef(1, 2, 3);
    glEndList();
    EXPECT_TRUE(gl_record::EffectiveNamed("glTranslatef").empty());
    glCallList(list);
    glCallList(list);
    const std::vector<gl_record::Call> replayed = gl_record::EffectiveNamed("glTranslatef");
    ASSERT_EQ(replayed.size(), 2u);
    EXPECT_EQ(replayed[0].replayDepth, 1);
    EXPECT_EQ(glIsList(list), GL_TRUE);
    glDeleteLists(list, 1);
    EXPECT_EQ(glIsList(list), GL_FALSE);
    EXPECT_EQ(gl_record::Errors(), 0);
}

TEST(RecordingGL, FlagsWhatARealGLWouldReject) {
    gl_record::Reset();
    glPopMatrix();
    EXPECT_EQ(gl_record::Errors(), 1);
    glBegin(GL_QUADS);
    glBegin(GL_QUADS);
    EXPECT_EQ(gl_record::Errors(), 2);
    glEnd();
    glEnd();
    glEnd();
    EXPECT_EQ(gl_record::Errors(), 3);
    glNewList(glGenLists(1), GL_COMPILE);
    glNewList(glGenLists(1), GL_COMPILE);
    EXPECT_EQ(gl_record::Errors(), 4);
    glEndList();
    glEndList();
    EXPECT_EQ(gl_record::Errors(), 5);
}

TEST(RecordingGL, AListThatPopsWhatItPushedStaysBalancedWhenReplayed) {
    gl_record::Reset();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glPopMatrix();  // compiled, not executed: no error yet
    glEndList();
    EXPECT_EQ(gl_record::Errors(), 0);
    glCallList(list);
    EXPECT_EQ(gl_record::Errors(), 1);
}

}  // namespace
