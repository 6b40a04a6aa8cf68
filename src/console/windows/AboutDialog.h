// The About box (template 100): the program's version and copyright line,
// read from the version block of the program file, with "About" and the
// block's internal name in its title.
#pragma once

#include <string>

#include "platform/files/VersionBlocks.h"
#include "ui/Dialog.h"

namespace hw {

namespace about_id {
inline constexpr int kDialog = 100;
inline constexpr int kVersion = 1001;
inline constexpr int kCopyright = 1003;
}  // namespace about_id

// The copyright line shown when the version block names none. It differs
// from the program's own block, so that the box tells which one it shows.
inline constexpr const char* kFixedCopyright = "Copyright (C) Hexwarden developers";

class AboutDialog : public ui::Dialog {
  public:
    // path: the file whose version block is shown, the program file.
    AboutDialog(ui::Application& app, VersionBlocks& blocks, std::string path);
    ~AboutDialog() override;

    // Fills the version text, the copyright text and the internal name from
    // the block. A file without a block leaves all three empty. Without a
    // copyright line in the block, the version text is "Version ----" and
    // the copyright text the fixed line, whatever version was found. True
    // when the block's copyright line was found.
    bool ReadVersionBlock();

    const std::string& VersionText() const { return versionText; }
    const std::string& CopyrightText() const { return copyrightText; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    VersionBlocks& blocks;
    std::string versionText;
    std::string copyrightText;
    std::string internalName;
    std::string path;
};

}  // namespace hw
