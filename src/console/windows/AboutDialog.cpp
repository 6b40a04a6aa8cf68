#include "console/windows/AboutDialog.h"

#include "console/bundle/VersionStrings.h"
#include "ui/DataExchange.h"

namespace hw {

AboutDialog::AboutDialog(ui::Application& app, VersionBlocks& versionBlocks, std::string file)
    : ui::Dialog(app, about_id::kDialog), blocks(versionBlocks), path(std::move(file)) {}

AboutDialog::~AboutDialog() = default;

void AboutDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Text(about_id::kVersion, versionText);
    dx.Text(about_id::kCopyright, copyrightText);
}

bool AboutDialog::OnInitDialog() {
    ReadVersionBlock();
    ui::Dialog::OnInitDialog();
    if (!internalName.empty()) SetTitle("About " + internalName);
    return true;
}

bool AboutDialog::ReadVersionBlock() {
    const auto strings = ReadVersionStrings(blocks, path);
    if (!strings) return false;
    bool found = false;
    // The copyright line and the internal name count only beside a version.
    if (strings->fileVersion) {
        versionText = "Version " + *strings->fileVersion;
        if (strings->legalCopyright) {
            copyrightText = *strings->legalCopyright;
            found = true;
        }
        if (strings->internalName) internalName = *strings->internalName;
    }
    if (!found) {
        versionText = "Version ----";
        copyrightText = kFixedCopyright;
    }
    return found;
}

}  // namespace hw
