#include "app/Startup.h"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <sstream>

#include "AppTestSupport.h"
#include "app/Display.h"

namespace {

using captured::Names;

const std::string kData = LOGO3D_TEST_DATA "/e2e/";

TEST(Startup, MissingFilesAreNamedOnOneLine) {
    StrokeFontCharacterSet fontSet;
    Environment scene;
    LogoString text;
    std::ostringstream errors;
    EXPECT_FALSE(LoadFont(kData + "no-such.font", fontSet, errors));
    EXPECT_FALSE(LoadEnvironment(kData + "no-such.env", scene, errors));
    EXPECT_FALSE(LoadLogoString(kData + "no-such.str", text, errors));
    EXPECT_EQ(errors.str(), "cannot open font file : " + kData + "no-such.font\n" +
                                "cannot open environment file : " + kData + "no-such.env\n" +
                                "cannot open string file : " + kData + "no-such.str\n");
}

TEST(Startup, MalformedEnvironmentGivesItsMessage) {
    Environment scene;
    std::ostringstream errors;
    EXPECT_FALSE(LoadEnvironment(kData + "env-malformed.src", scene, errors));
    EXPECT_EQ(errors.str(), "error occurs while loading environment file : " + kData + "env-malformed.src\n");
}

TEST(Startup, GoodFilesLoadSilently) {
    StrokeFontCharacterSet fontSet;
    Environment scene;
    LogoString text;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(kData + "font.src", fontSet, errors));
    EXPECT_TRUE(LoadEnvironment(kData + "env.src", scene, errors));
    EXPECT_TRUE(LoadLogoString(kData + "string.src", text, errors));
    EXPECT_EQ(errors.str(), "");
    EXPECT_FLOAT_EQ(scene.clearColor.green, 0.4f);
    EXPECT_EQ(scene.lights[0].enabled, 1);
}

TEST(Startup, DefaultEnvironmentFileLoads) {
    Environment scene;
    std::ostringstream errors;
    EXPECT_TRUE(LoadEnvironment(LOGO3D_SOURCE_DIR "/data/env.src", scene, errors));
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(scene.lights[2].enabled, 1);
    EXPECT_EQ(scene.lights[3].enabled, 0);
}

TEST(Startup, LoadingStopsAtTheFirstFailure) {
    app_test::ResetProgram();
    ViewState view;
    view.fontFile = kData + "font.src";
    view.envFile = kData + "no-such.env";
    view.stringFile = kData + "no-such.str";
    std::ostringstream errors;
    EXPECT_FALSE(LoadDataFiles(view, errors));
    EXPECT_EQ(errors.str(), "cannot open environment file : " + kData + "no-such.env\n");
}

TEST(Startup, WindowComesBeforeSetUpAndCallbacks) {
    app_test::ResetProgram();
    viewState.width = 300;
    viewState.height = 200;
    OpenViewerWindow("logo3d");
    const std::vector<std::string> names = Names(captured::Calls());
    const std::vector<std::string> opening(names.begin(), names.begin() + 5);
    EXPECT_EQ(opening, (std::vector<std::string>{"glutInit", "glutInitWindowSize", "glutInitDisplayMode",
                                                 "glutCreateWindow", "glClearColor"}));
    const std::vector<std::string> closing(names.end() - 8, names.end());
    EXPECT_EQ(closing, (std::vector<std::string>{"glutMotionFunc", "glutMouseFunc", "glutKeyboardFunc",
                                                 "glutSpecialFunc", "glutReshapeFunc", "glutIdleFunc",
                                                 "glutDisplayFunc", "glutVisibilityFunc"}));
    const capture::GlutState& glut = capture::Glut();
    EXPECT_EQ(glut.windowWidth, 300);
    EXPECT_EQ(glut.windowHeight, 200);
    EXPECT_EQ(glut.displayMode, unsigned(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_ACCUM));
    EXPECT_EQ(glut.title, "3D Logo -Tavrin 1997-");
    EXPECT_EQ(glut.reshape, &reshape);
    EXPECT_EQ(glut.idle, &idle);
    EXPECT_EQ(glut.display, &display);
    EXPECT_EQ(glut.visibility, &visibility);
}

}  // namespace
