// The About box against version blocks built in memory.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "console/windows/AboutDialog.h"
#include "fakes/FakeVersionBlocks.h"
#include "ui/Application.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

constexpr const char* kPath = "C:\\Tools\\Hexwarden.exe";

// A block whose strings lie under German, Western European (040704e4).
test::MemoryVersionBlock Block(const std::map<std::string, std::string>& values) {
    std::map<std::string, std::string> strings;
    for (const auto& [name, value] : values) strings["\\StringFileInfo\\040704e4\\" + name] = value;
    return {std::vector<VersionTranslation>{{0x0407, 0x04E4}}, strings};
}

TEST(AboutBox, ShowsWhatTheVersionBlockHolds) {
    auto twoTables =
        Block({{"FileVersion", "2, 1"}, {"LegalCopyright", "(C) A"}, {"InternalName", "A"}});
    twoTables.translations->push_back({0x0409, 0x04B0});
    twoTables.strings["\\StringFileInfo\\040904b0\\FileVersion"] = "9";
    const std::string fixed = kFixedCopyright;
    struct Case {
        std::optional<test::MemoryVersionBlock> block;
        std::vector<std::string> shown;  // version, copyright, title, whether the line was found
    };
    const Case cases[] = {
        {std::nullopt, {"", "", "About Hexwarden", "0"}},
        {twoTables, {"Version 2, 1", "(C) A", "About A", "1"}},
        {Block({{"LegalCopyright", "(C) A"}, {"InternalName", "A"}}),
         {"Version ----", fixed, "About Hexwarden", "0"}},
        {Block({{"FileVersion", "2, 1"}, {"InternalName", "A"}}),
         {"Version ----", fixed, "About A", "0"}},
        {test::MemoryVersionBlock{}, {"Version ----", fixed, "About Hexwarden", "0"}},
        {test::MemoryVersionBlock{std::vector<VersionTranslation>{}},
         {"Version ----", fixed, "About Hexwarden", "0"}},
    };
    for (const Case& c : cases) {
        test::FakeVersionBlocks blocks;
        if (c.block) blocks.files.emplace(kPath, *c.block);
        ui::HeadlessWindowSystem windows;
        ui::Application app{windows, "Hexwarden"};
        std::vector<std::string> shown;
        windows.OnModal(about_id::kDialog, [&](ui::Dialog& about) {
            shown = {about.ItemText(about_id::kVersion), about.ItemText(about_id::kCopyright),
                     about.Title()};
        });
        AboutDialog(app, blocks, kPath).DoModal();
        shown.push_back(AboutDialog(app, blocks, kPath).ReadVersionBlock() ? "1" : "0");
        EXPECT_EQ(shown, c.shown);
    }
}

}  // namespace
}  // namespace hw
