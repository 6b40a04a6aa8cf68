// The About box against version blocks built in memory: which version,
// copyright line and title it shows for each kind of block.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "console/AboutDialog.h"
#include "fakes/FakeVersionBlocks.h"
#include "ui/Application.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

using test::MemoryVersionBlock;

constexpr const char* kPath = "C:\\Tools\\Hexwarden.exe";
const std::vector<VersionTranslation> kGerman = {{0x0407, 0x04E4}};
constexpr const char* kKeys = "\\StringFileInfo\\040704e4\\";

struct Shown {
    std::string version, copyright, title;
    bool found;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
    return out << '"' << s.version << "\" \"" << s.copyright << "\" \"" << s.title << "\" "
               << s.found;
}

// The block's strings under the first translation: version, copyright line
// and internal name, each left out when nullopt.
MemoryVersionBlock Block(std::optional<std::string> version, std::optional<std::string> copyright,
                         std::optional<std::string> name) {
    MemoryVersionBlock block{kGerman, {}};
    const std::string keys = kKeys;
    if (version) block.strings[keys + "FileVersion"] = *version;
    if (copyright) block.strings[keys + "LegalCopyright"] = *copyright;
    if (name) block.strings[keys + "InternalName"] = *name;
    return block;
}

Shown ShowAbout(const std::optional<MemoryVersionBlock>& block) {
    test::FakeVersionBlocks blocks;
    if (block) blocks.files[kPath] = *block;
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    Shown shown{};
    windows.OnModal(about_id::kDialog, [&](ui::Dialog& dialog) {
        shown = {dialog.ItemText(about_id::kVersion), dialog.ItemText(about_id::kCopyright),
                 dialog.Title(), false};
        dialog.EndDialog(ui::kIdOk);
    });
    AboutDialog about(app, blocks, kPath);
    EXPECT_EQ(about.DoModal(), ui::kIdOk);
    shown.found = AboutDialog(app, blocks, kPath).ReadVersionBlock();
    return shown;
}

TEST(AboutBox, ShowsWhatTheVersionBlockHolds) {
    const std::string fixed = kFixedCopyright;
    MemoryVersionBlock twoTranslations = Block("2, 1, 0, 0", "(C) First", "First");
    twoTranslations.translations->push_back({0x0409, 0x04B0});
    twoTranslations.strings["\\StringFileInfo\\040904b0\\FileVersion"] = "9";
    MemoryVersionBlock noTable = Block("2, 1, 0, 0", "(C) First", "First");
    noTable.translations->clear();
    struct Case {
        const char* name;
        std::optional<MemoryVersionBlock> block;
        Shown shown;
    };
    const Case cases[] = {
        {"no block", std::nullopt, {"", "", "About Hexwarden", false}},
        {"whole block",
         Block("2, 1, 0, 0", "(C) Maker", "Tool"),
         {"Version 2, 1, 0, 0", "(C) Maker", "About Tool", true}},
        {"no version",
         Block({}, "(C) Maker", "Tool"),
         {"Version ----", fixed, "About Hexwarden", false}},
        {"no copyright", Block("2, 1", {}, "Tool"), {"Version ----", fixed, "About Tool", false}},
        {"unreadable", MemoryVersionBlock{}, {"Version ----", fixed, "About Hexwarden", false}},
        {"empty translation table", noTable, {"Version ----", fixed, "About Hexwarden", false}},
        {"first translation only",
         twoTranslations,
         {"Version 2, 1, 0, 0", "(C) First", "About First", true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShowAbout(c.block), c.shown);
    }
}

}  // namespace
}  // namespace hw
