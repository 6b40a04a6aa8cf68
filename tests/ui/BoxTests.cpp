// Message boxes, error reports, file dialogs and the window's decorations on
// the headless window system.
#include <gtest/gtest.h>

#include "platform/files/FileErrors.h"
#include "ui/TestDialogs.h"

namespace hw::test {
namespace {

using Box = ui::HeadlessWindowSystem::BoxRecord;

struct Shown : Ui {
    Shown() { EXPECT_TRUE(dialog.Create(ui::kNoWindow)); }
    TestDialog dialog{app};
};

void ExpectBox(const Box& box, ui::WindowId owner, const std::string& text,
               const std::string& caption, std::uint32_t style) {
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.style, style);
}

TEST(Boxes, CaptionIsTheProgramNameUnlessGiven) {
    Shown s;
    s.dialog.ShowMessageBox("Completed");
    s.dialog.ShowMessageBox("Sure?", "Hexwarden", ui::kMbOkCancel | ui::kMbDefButton2);
    s.app.ShowMessageBox("OFFLINE", ui::kMbIconHand);
    s.app.SetProgramName("svc");
    s.app.ShowMessageBox("Hit [ENTER]    ", ui::kMbIconExclamation);
    ASSERT_EQ(s.windows.Boxes().size(), 4u);
    ExpectBox(s.windows.Boxes()[0], s.dialog.window(), "Completed", "Prog", ui::kMbOk);
    ExpectBox(s.windows.Boxes()[1], s.dialog.window(), "Sure?", "Hexwarden", 0x101);
    ExpectBox(s.windows.Boxes()[2], ui::kNoWindow, "OFFLINE", "Prog", 0x10);
    ExpectBox(s.windows.Boxes()[3], ui::kNoWindow, "Hit [ENTER]    ", "svc", 0x30);
}

TEST(Boxes, AnswersComeFromTheQueueThenTheHookThenTheFirstButton) {
    Ui u;
    EXPECT_EQ(u.app.ShowMessageBox("a", ui::kMbOkCancel), ui::kIdOk);
    EXPECT_EQ(u.app.ShowMessageBox("b", ui::kMbYesNo | ui::kMbDefButton2), ui::kIdYes);
    u.windows.OnBox([](const Box& box) { return box.text == "c" ? ui::kIdNo : ui::kIdCancel; });
    u.windows.QueueBoxAnswer(ui::kIdCancel);
    u.windows.QueueBoxAnswer(ui::kIdOk);
    EXPECT_EQ(u.app.ShowMessageBox("q1", ui::kMbOkCancel), ui::kIdCancel);
    EXPECT_EQ(u.app.ShowMessageBox("q2", ui::kMbOkCancel), ui::kIdOk);
    EXPECT_EQ(u.app.ShowMessageBox("c", ui::kMbYesNo), ui::kIdNo);
    EXPECT_EQ(u.app.ShowMessageBox("d", ui::kMbOkCancel), ui::kIdCancel);
    EXPECT_EQ(u.windows.Boxes().size(), 6u);
}

// A framework exception with a given text.
class TextException : public FrameworkException {
  public:
    explicit TextException(std::string text) : text_(std::move(text)) {}
    std::string ErrorMessage() const override { return text_; }

  private:
    std::string text_;
};

TEST(ErrorReports, FileErrorsShowTheCauseWithTheFileName) {
    using Cause = FileException::Cause;
    const struct {
        Cause cause;
        const char* text;
    } cases[] = {
        {Cause::FileNotFound, "C:\\r.txt was not found."},
        {Cause::BadPath, "C:\\r.txt contains an invalid path."},
        {Cause::AccessDenied, "Access to C:\\r.txt was denied."},
        {Cause::SharingViolation, "A sharing violation occurred while accessing C:\\r.txt."},
        {Cause::DiskFull, "Disk full while accessing C:\\r.txt."},
    };
    for (const auto& c : cases) {
        Ui u;
        // Through the Alerts interface, as the bulk transfers report.
        u.app.alerts().ReportError(FileException(c.cause, "C:\\r.txt"));
        ASSERT_EQ(u.windows.Boxes().size(), 1u);
        ExpectBox(u.windows.Boxes()[0], ui::kNoWindow, c.text, "Prog", ui::kMbIconExclamation);
    }
}

TEST(ErrorReports, ExceptionWithoutTextAndOutOfMemory) {
    Ui u;
    u.app.ReportError(TextException(""));
    u.app.ReportError(TextException("Something broke."));
    u.app.alerts().ShowOutOfMemory();
    ASSERT_EQ(u.windows.Boxes().size(), 3u);
    ExpectBox(u.windows.Boxes()[0], ui::kNoWindow, "No error message is available.", "Prog", 0x30);
    ExpectBox(u.windows.Boxes()[1], ui::kNoWindow, "Something broke.", "Prog", 0x30);
    ExpectBox(u.windows.Boxes()[2], ui::kNoWindow, "Out of memory.", "Prog", 0x10);
}

TEST(FileDialogs, AnswersAndRecordedOptions) {
    Ui u;
    ui::FileDialogOptions save;
    save.open = false;
    save.defaultExtension = "*";
    save.flags = ui::kOfnHideReadOnly | ui::kOfnOverwritePrompt;
    save.filter = "Text file (*.txt)|*.txt|all |*.*||";
    u.windows.QueueFileAnswer("C:\\out\\rep.*");
    u.windows.QueueFileAnswer(std::nullopt);
    EXPECT_EQ(u.app.ShowFileDialog(save, 3), "C:\\out\\rep.*");
    EXPECT_EQ(u.app.ShowFileDialog(save), std::nullopt);
    EXPECT_EQ(u.app.ShowFileDialog({}), std::nullopt);  // nothing queued: cancelled
    ASSERT_EQ(u.windows.FileDialogs().size(), 3u);
    const auto& first = u.windows.FileDialogs()[0];
    EXPECT_EQ(first.owner, 3u);
    EXPECT_FALSE(first.options.open);
    EXPECT_EQ(first.options.defaultExtension, "*");
    EXPECT_EQ(first.options.flags, 6u);
    EXPECT_EQ(first.options.filter, "Text file (*.txt)|*.txt|all |*.*||");
    EXPECT_TRUE(u.windows.FileDialogs()[2].options.open);
}

// Each kind of file dialog opens where its last file was chosen; a
// cancelled one and one of another kind change nothing.
TEST(FileDialogs, EachKindOpensInItsLastFolder) {
    Ui u;
    ui::FileDialogOptions text;
    text.folderKind = "text";
    ui::FileDialogOptions other;
    other.folderKind = "other";
    u.windows.QueueFileAnswer("C:\\out\\rep.txt");
    u.windows.QueueFileAnswer("D:\\fw\\a.qfw");
    u.windows.QueueFileAnswer(std::nullopt);
    u.windows.QueueFileAnswer("E:\\x.txt");
    u.app.ShowFileDialog(text);
    u.app.ShowFileDialog(other);
    u.app.ShowFileDialog(text);
    u.app.ShowFileDialog(text);
    u.app.ShowFileDialog({});
    std::vector<std::string> folders;
    for (const auto& dialog : u.windows.FileDialogs())
        folders.push_back(dialog.options.initialFolder);
    EXPECT_EQ(folders, (std::vector<std::string>{"", "", "C:\\out\\", "C:\\out\\", ""}));
    EXPECT_EQ(u.app.ShowFileDialog(text), std::nullopt);
    EXPECT_EQ(u.windows.FileDialogs().back().options.initialFolder, "E:\\");
}

TEST(Decorations, SystemMenuIconsAndStrings) {
    Shown s;
    const ui::WindowId w = s.dialog.window();
    ASSERT_TRUE(s.windows.shell.HasSystemMenu(w));
    s.windows.shell.AppendSystemMenuSeparator(w);
    s.windows.shell.AppendSystemMenuItem(w, 16, s.windows.shell.LoadStringResource(101));
    const auto menu = s.windows.SystemMenu(w);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].commandId, 0);
    EXPECT_EQ(menu[1].commandId, 16);
    EXPECT_EQ(menu[1].text, "&About Test...");
    EXPECT_EQ(s.windows.shell.LoadStringResource(102), "");

    const ui::IconHandle icon = s.windows.shell.LoadIconResource(128);
    EXPECT_NE(icon, 0u);
    EXPECT_EQ(s.windows.shell.LoadIconResource(129), 0u);
    s.dialog.SetIcon(icon, true);
    EXPECT_EQ(s.windows.Icon(w, true), icon);
    EXPECT_EQ(s.windows.Icon(w, false), 0u);

    // The child template has no system menu: nothing is appended.
    ChildDialog child(s.app);
    ASSERT_TRUE(child.Create(w));
    EXPECT_FALSE(s.windows.shell.HasSystemMenu(child.window()));
    s.windows.shell.AppendSystemMenuItem(child.window(), 16, "x");
    EXPECT_TRUE(s.windows.SystemMenu(child.window()).empty());
}

TEST(Geometry, ItemsInPixelsMoveAndResize) {
    Shown s;
    const ui::WindowId w = s.dialog.window();
    // 200 x 100 dialog units with base units 6 x 13.
    EXPECT_EQ(s.dialog.ClientRect(), (ui::Rect{0, 0, 300, 163}));
    EXPECT_EQ(s.dialog.ItemRect(1), (ui::Rect{225, 8, 285, 31}));
    s.dialog.MoveItem(1, {10, 20, 30, 40});
    EXPECT_EQ(s.dialog.ItemRect(1), (ui::Rect{10, 20, 30, 40}));
    EXPECT_EQ(s.dialog.ItemRect(77), std::nullopt);
    s.windows.Resize(w, 400, 200);
    EXPECT_EQ(s.dialog.ClientRect(), (ui::Rect{0, 0, 400, 200}));
    EXPECT_EQ(s.dialog.ScreenToClient({150, 60}), (ui::Point{50, 10}));
}

}  // namespace
}  // namespace hw::test
