// The Report dialog: a resizable, read-only viewer of a text with a Save
// button, and what its caller adds: a caption, a button beside Save and a
// second form Save may write. Its controls follow the window's size through an anchor layout,
// and a size grip in the lowest, rightmost corner of the client area sizes
// the window from that corner.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "console/windows/AnchorLayout.h"
#include "platform/files/FileSystem.h"
#include "ui/Dialog.h"

namespace hw {

namespace report_id {
inline constexpr int kDialog = 129;
inline constexpr int kClose = 2;
inline constexpr int kSave = 1006;
inline constexpr int kText = 1008;
inline constexpr int kExtra = 1009;
}  // namespace report_id

// A second form of the text Save offers: its file dialog filter entry
// ("CSV (*.csv)|*.csv|"), its extension (".csv"), and its text. A chosen
// name with that extension gets it, and so does a name typed without an
// extension while its filter was chosen; the name then gets the extension.
struct SaveForm {
    std::string filter;
    std::string extension;
    std::function<std::string()> text;
};

// A button beside Save: its caption and what it does, given the viewer's
// window as the owner of what it shows.
struct ViewerButton {
    std::string caption;
    std::function<void(ui::WindowId viewer)> press;
};

class ReportDialog : public ui::Dialog, private LayoutTarget {
  public:
    // Shows text, up to its NUL. The text stays the creator's and must stay
    // valid until the dialog has closed.
    ReportDialog(ui::Application& app, FileSystem& fileSystem, const char* text);
    ~ReportDialog() override;

    // Before the dialog runs: the caption in place of the template's, a
    // button beside Save, a second form Save offers.
    void SetCaption(std::string text) { caption = std::move(text); }
    void AddButton(ViewerButton button) { extra = std::move(button); }
    void OfferForm(SaveForm form) { secondForm = std::move(form); }
    // The place the viewer opens at, when set, and where it keeps its place
    // and size when it closes: so it stays where the technician put it for
    // the session. The place stays the creator's.
    void KeepPlaceIn(std::optional<ui::Rect>& place) { keptPlace = &place; }
    // The file name Save offers; none until set.
    void OfferSaveName(std::string name) { saveName = std::move(name); }

    // The files Save writes to.
    FileSystem& Files() const { return files; }
    const AnchorLayout& Layout() const { return layout; }
    // The size grip in the client area: its lowest, rightmost square.
    ui::Rect GripRect() const;

  protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnSave();
    void OnExtra();
    void AddExtraButton();
    void OnSize(ui::Size client);
    void OnPaint();
    std::intptr_t OnNcHitTest(ui::Point screen);
    // Answers 1, as the viewer always has; the message carries nothing.
    std::intptr_t OnExitSizeMove(const ui::Message& message);

    bool HasControl(int id) const override;
    void MoveControl(int id, const ui::Rect& rect) override;

    static const ui::MessageMapEntry messageMap[];

    FileSystem& files;
    const char* reportText;
    AnchorLayout layout;
    ui::WindowId layoutWindow = ui::kNoWindow;
    ui::WindowId gripWindow = ui::kNoWindow;
    int gripWidth = 0;
    int gripHeight = 0;
    // Where the grip was last drawn, cleared when the window is sized.
    ui::Rect shownGrip;
    std::string caption;
    std::optional<ViewerButton> extra;
    std::optional<SaveForm> secondForm;
    std::string saveName;
    std::optional<ui::Rect>* keptPlace = nullptr;
};

}  // namespace hw
