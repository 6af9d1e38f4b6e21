#pragma once
// Small templates and tables for the component's tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dbf/fixture.h"
#include "dbf/table.h"
#include "report/ar_word_report.h"
#include "wordproc/docx_builder.h"
#include "wordproc/range.h"
#include "wordproc/recording_viewer.h"

namespace report::testing {

inline std::string para(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

using wordproc::test::RecordingViewer;

class ReportTest : public ::testing::Test {
  protected:
    dbf::testing::TempDir dir;

    // A template of paragraphs (body XML escaped by the caller where needed).
    std::string templateOf(const std::vector<std::string>& paragraphs) {
        std::string body;
        for (const auto& p : paragraphs) body += para(p);
        std::string path = (dir / ("t" + std::to_string(++m_count) + ".docx")).string();
        wordproc::test::writeDocx(path, body);
        return path;
    }

    // KORAM with three plan items: D6 name, D7 amount.
    std::unique_ptr<dbf::Table> koram(int standOn = 1) {
        if (!std::filesystem::exists(dir / "KORAM.DBF"))
            dbf::testing::makeTable(dir.path(), "KORAM.DBF", {{"D6", 'C', 20}, {"D7", 'N', 8, 1}},
                                    {{dbf::testing::S("Bread"), dbf::testing::F(30)},
                                     {dbf::testing::S("Rice"), dbf::testing::F(100)},
                                     {dbf::testing::S("Milk"), dbf::testing::F(250)}});
        auto t = std::make_unique<dbf::Table>();
        t->setDirectory(dir.path());
        t->setTableName("KORAM");
        t->open();
        t->first();
        t->moveBy(standOn - 1);
        return t;
    }

    // Starts word processors that record what they show and stay reachable by the test.
    void recordWordProcessors(TARWordReport& r) {
        r.platform.startWordProcessor = [this] {
            auto app = std::make_shared<wordproc::Application>(&viewer);
            started.push_back(app);
            return app;
        };
    }

    std::string text(TARWordReport& r) { return r.document()->content().text(); }

    RecordingViewer viewer;
    std::vector<std::weak_ptr<wordproc::Application>> started;

  private:
    int m_count = 0;
};

}  // namespace report::testing
