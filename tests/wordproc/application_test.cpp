// The application object: documents from templates by content, showing through
// the viewer, the saved flag, options kept, macros refused.
#include "wordproc/application.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "docx_builder.h"
#include "recording_viewer.h"
#include "wordproc/errors.h"
#include "wordproc/range.h"

using namespace wordproc;
using wordproc::test::dataPath;
using wordproc::test::readZip;
using wordproc::test::RecordingViewer;
using wordproc::test::tempPath;
namespace fs = std::filesystem;

namespace {

TEST(ApplicationTest, ATemplateNamedDocThatHoldsOoxmlOpensDirectly) {
    std::string diet = tempPath("Diet.doc");
    fs::copy_file(dataPath("template.docx"), diet, fs::copy_options::overwrite_existing);
    Application app;
    Document& doc = app.documents().add(diet);
    EXPECT_EQ(app.documents().count(), 1);
    EXPECT_EQ(app.activeDocument(), &doc);
    EXPECT_NE(doc.content().text().find("Diet plan"), std::string::npos);
    // Saved under the name given; what is written is OOXML.
    std::string out = tempPath("Diet_filled.doc");
    doc.content().find().execute("<#Date1>", false, false, false, false, false, true,
                                 wd::kFindContinue, false, "x", wd::kReplaceAll);
    EXPECT_FALSE(doc.saved());
    doc.saveAs(out);
    EXPECT_TRUE(doc.saved());
    EXPECT_EQ(doc.fullName(), out);
    EXPECT_TRUE(readZip(out).count("word/document.xml"));
}

TEST(ApplicationTest, BecomingVisibleShowsEachDocumentOnceAsDocx) {
    RecordingViewer viewer;
    Application app(&viewer);
    Document& doc = app.documents().add(dataPath("template.docx"));
    doc.setSaved(true);
    EXPECT_TRUE(viewer.shown.empty());
    app.setVisible(true);
    ASSERT_EQ(viewer.shown.size(), 1u);
    fs::path shown = viewer.shown[0];
    EXPECT_EQ(shown.extension(), ".docx");
    EXPECT_EQ(shown.parent_path(), fs::temp_directory_path());
    EXPECT_EQ(shown.filename().string().rfind("wordrpt_", 0), 0u);
    EXPECT_TRUE(fs::exists(shown));
    EXPECT_TRUE(doc.saved());
    app.setVisible(true);
    EXPECT_EQ(viewer.shown.size(), 1u);
}

TEST(ApplicationTest, OptionsAreKeptAndMacrosFailClearly) {
    Application app;
    app.options().checkSpellingAsYouType = false;
    app.displayAlerts = 0;
    app.screenUpdating = false;
    EXPECT_FALSE(app.options().checkSpellingAsYouType);
    EXPECT_EQ(app.displayAlerts, 0);
    try {
        app.run("FixLayout");
        FAIL() << "no error";
    } catch (const WordprocError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The macro FixLayout cannot be run: this word processor runs no macros.");
    }
}

TEST(ApplicationTest, QuitClosesEverythingAndTheObjectIsNothingAfterwards) {
    Application app;
    Document& doc = app.documents().add(dataPath("template.docx"));
    app.documents().add(dataPath("sub.docx"));
    EXPECT_EQ(app.documents().count(), 2);
    doc.close();
    EXPECT_EQ(app.documents().count(), 1);
    EXPECT_THROW(doc.content(), WordprocError);
    app.quit();
    EXPECT_FALSE(app.alive());
    EXPECT_EQ(app.documents().count(), 0);
    EXPECT_THROW(app.documents().add(dataPath("sub.docx")), WordprocError);
}

}  // namespace
