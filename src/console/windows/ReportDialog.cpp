#include "console/windows/ReportDialog.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "console/BoxReporter.h"
#include "console/files/FileDialogs.h"
#include "console/files/OfferedNames.h"
#include "console/files/SafeTextSave.h"
#include "ui/Application.h"

namespace hw {

namespace {

// The grip's size when the system does not tell that of a scroll arrow.
constexpr int kDefaultGripSize = 16;

struct Anchor {
    int controlId;
    std::uint32_t flags;
};

// The buttons keep their distance from the bottom-right corner; the text
// grows with the window.
constexpr Anchor kAnchors[] = {
    {report_id::kClose, LAYOUT_MOVE_X | LAYOUT_MOVE_Y},
    {report_id::kSave, LAYOUT_MOVE_X | LAYOUT_MOVE_Y},
    {report_id::kText, LAYOUT_SIZE_X | LAYOUT_SIZE_Y},
};

// What Save offers: text files, or any file with the default extension "*".
constexpr std::string_view kTextFilter = "Text file (*.txt)|*.txt|";
constexpr std::string_view kAnyFilter = "all |*.*||";
constexpr const char* kSaveExtension = "*";
// A second form's filter comes second.
constexpr int kSecondFormFilter = 2;

// path ends in extension, in any letter case.
bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    const std::string_view end = path.substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// The last part of the path holds a dot.
bool HasExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos &&
           path.find_first_of("\\/", dot) == std::string_view::npos;
}

// The file dialog adds the extension "*" to a name typed without one; a path
// longer than 2 characters that ends in ".*" loses those two characters.
std::string SavePath(std::string chosen) {
    if (chosen.size() > 2 && chosen.ends_with(".*")) chosen.resize(chosen.size() - 2);
    return chosen;
}

// The file dialog's own question before it lets a chosen file be replaced.
std::string ReplaceQuestion(std::string_view path) {
    return std::string(path) + " already exists.\nDo you want to replace it?";
}

}  // namespace

constinit const ui::MessageMapEntry ReportDialog::messageMap[] = {
    ui::OnCommand<&ReportDialog::OnSave>(report_id::kSave),
    ui::OnCommand<&ReportDialog::OnExtra>(report_id::kExtra),
    ui::OnSize<&ReportDialog::OnSize>(),
    ui::OnPaint<&ReportDialog::OnPaint>(),
    ui::OnNcHitTest<&ReportDialog::OnNcHitTest>(),
    ui::OnMessage<&ReportDialog::OnExitSizeMove>(ui::kWmExitSizeMove),
};

std::span<const ui::MessageMapEntry> ReportDialog::GetMessageMap() const {
    return messageMap;
}

ReportDialog::ReportDialog(ui::Application& app, FileSystem& fileSystem, const char* text)
    : ui::Dialog(app, report_id::kDialog),
      files(fileSystem),
      reportText(text != nullptr ? text : "") {}

ReportDialog::~ReportDialog() = default;

bool ReportDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    if (window() != ui::kNoWindow) {
        const ui::Rect client = ClientRect();
        layout.Start(client.Width(), client.Height());
        layoutWindow = window();
        for (const Anchor& anchor : kAnchors) {
            if (const auto rect = ItemRect(anchor.controlId)) {
                layout.Add({*rect, anchor.controlId, anchor.flags});
            }
        }
        if (extra) AddExtraButton();
    }
    if (!caption.empty()) SetTitle(caption);
    gripWindow = window();
    const ui::Point arrow = app().geometry().HorizontalScrollArrow();
    gripWidth = arrow.x != 0 ? arrow.x : kDefaultGripSize;
    gripHeight = arrow.y != 0 ? arrow.y : kDefaultGripSize;
    shownGrip = GripRect();
    // The report is column-aligned text, as the saved file shows it.
    UseFixedPitchFont(report_id::kText);
    SetItemText(report_id::kText, std::string_view(reportText));
    // Placed once the layout knows the template's size, so that the
    // controls follow the kept size.
    if (keptPlace != nullptr && *keptPlace) app().geometry().PlaceWindow(window(), **keptPlace);
    return true;
}

void ReportDialog::OnCancel() {
    if (keptPlace != nullptr) *keptPlace = WindowRect();
    ui::Dialog::OnCancel();
}

ui::Rect ReportDialog::GripRect() const {
    ui::Rect grip = app().geometry().ClientRect(gripWindow);
    grip.left = grip.right - gripWidth;
    grip.top = grip.bottom - gripHeight;
    return grip;
}

void ReportDialog::OnSize(ui::Size client) {
    Default();
    if (gripWindow != ui::kNoWindow) {
        // The grip's old corner gets its background back; the new one a grip.
        app().geometry().Invalidate(gripWindow, shownGrip, true);
        shownGrip = GripRect();
        app().geometry().Invalidate(gripWindow, shownGrip, false);
    }
    if (layoutWindow == ui::kNoWindow) return;
    layout.Resize(client.width, client.height, *this);
}

void ReportDialog::OnPaint() {
    app().geometry().PaintSizeGrip(window(), GripRect());
}

std::intptr_t ReportDialog::OnNcHitTest(ui::Point screen) {
    if (gripWindow == ui::kNoWindow) return Default();
    const ui::Point point = app().geometry().ScreenToClient(gripWindow, screen);
    if (GripRect().Contains(point)) return ui::kHtBottomRight;
    return Default();
}

std::intptr_t ReportDialog::OnExitSizeMove(const ui::Message&) {
    Invalidate(std::nullopt, true);
    return 1;
}

bool ReportDialog::HasControl(int id) const {
    return app().items().HasItem(layoutWindow, id);
}

void ReportDialog::MoveControl(int id, const ui::Rect& rect) {
    app().geometry().MoveItem(layoutWindow, id, rect, true);
}

// The report is written the safe way: a failed save leaves no half file and
// keeps a file that was there. Either way the dialog stays open. The file
// dialog asked before replacing the name it returned; when that name loses
// its ".*", the file actually written is asked about in the same words.
void ReportDialog::OnSave() {
    const std::string filter = std::string(kTextFilter) +
                               (secondForm ? secondForm->filter : std::string()) +
                               std::string(kAnyFilter);
    ui::FileDialogOptions options =
        FileDialogOptionsFor(false, filter, kTextFiles, saveName, kSaveExtension);
    int chosenFilter = 0;
    options.chosenFilter = &chosenFilter;
    const auto chosen = app().ShowFileDialog(options, window());
    if (!chosen) return;
    std::string path = SavePath(*chosen);
    if (secondForm && chosenFilter == kSecondFormFilter && !HasExtension(path))
        path += secondForm->extension;
    if (path != *chosen && files.Exists(path)) {
        const int answer = app().ShowMessageBox(
            ReplaceQuestion(path), ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbDefButton2);
        if (answer != ui::kIdYes) return;
    }
    const std::string form = secondForm && HasExtension(path, secondForm->extension)
                                 ? secondForm->text()
                                 : std::string();
    const std::string_view text = form.empty() ? std::string_view(reportText) : form;
    BoxReporter reporter(app(), *this);
    SaveTextSafely(reporter, files, path, text);
}

// The template stays as it is: the extra button is added beside Save, as far to
// its left as Close is to its right, and follows the corner like them.
void ReportDialog::AddExtraButton() {
    const auto save = ItemRect(report_id::kSave);
    const auto close = ItemRect(report_id::kClose);
    if (!save || !close) return;
    const int shift = save->Width() + (close->left - save->right);
    const ui::Rect rect{save->left - shift, save->top, save->right - shift, save->bottom};
    if (app().windows().AddButton(window(), report_id::kExtra, rect, extra->caption))
        layout.Add({rect, report_id::kExtra, LAYOUT_MOVE_X | LAYOUT_MOVE_Y});
}

void ReportDialog::OnExtra() {
    if (extra) extra->press(window());
}

}  // namespace hw
