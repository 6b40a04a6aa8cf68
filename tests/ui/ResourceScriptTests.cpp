// The program's resource script as the headless window system reads it: the
// main console's template control by control, the string table and the icon;
// and the reader's refusal of what it does not understand.
#include "ui/headless/ResourceScript.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ui/MainDialogLayout.h"

namespace hw::test {
namespace {

using ui::ControlTemplate;
using ui::DialogTemplate;

TEST(ResourceScript, MainDialogFrame) {
    const DialogTemplate& dialog = ui::ProgramResources().dialogs.at(102);
    EXPECT_EQ(dialog.rect, (ui::Rect{0, 0, kMainDialogWidth, kMainDialogHeight}));
    EXPECT_EQ(dialog.caption, "Hexwarden");
    EXPECT_EQ(dialog.fontName, "MS Sans Serif");
    EXPECT_EQ(dialog.fontSize, 8);
    // Pop-up, visible, caption, system menu, modal frame, and the font.
    EXPECT_EQ(dialog.style, 0x80000000u | 0x10000000u | 0x00C00000u | 0x00080000u | 0x80u | 0x40u);
}

TEST(ResourceScript, MainDialogControlsInTemplateOrder) {
    const DialogTemplate& dialog = ui::ProgramResources().dialogs.at(102);
    ASSERT_EQ(dialog.controls.size(), kMainDialogLayout.size());
    for (std::size_t i = 0; i < kMainDialogLayout.size(); ++i) {
        const LayoutRow& want = kMainDialogLayout[i];
        const ControlTemplate& got = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(KindOf(got.className, got.style), want.kind);
        EXPECT_EQ(got.text, want.caption);
        EXPECT_EQ(got.rect, (ui::Rect{want.x, want.y, want.x + want.width, want.y + want.height}));
        EXPECT_EQ((got.style & ui::kWsVisible) != 0, want.visible);
        EXPECT_NE(got.style & ui::kWsChild, 0u);
        EXPECT_EQ(got.style & ui::kWsDisabled, 0u);
    }
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const ui::Rect& inner, const ui::Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A control grown to fit its text covers no other control and stays within
// the frame of the group it stands in: no control overlaps another, and one
// that reaches into a group lies wholly inside it.
TEST(ResourceScript, MainDialogControlsNeitherOverlapNorCrossAGroupFrame) {
    const DialogTemplate& dialog = ui::ProgramResources().dialogs.at(102);
    const auto isGroup = [](const ControlTemplate& c) {
        return KindOf(c.className, c.style) == Kind::GroupBox;
    };
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const ControlTemplate& a = dialog.controls[i];
        for (std::size_t j = i + 1; j < dialog.controls.size(); ++j) {
            const ControlTemplate& b = dialog.controls[j];
            if (!Overlap(a.rect, b.rect)) continue;
            SCOPED_TRACE("controls " + a.text + " (" + std::to_string(a.id) + ") and " + b.text +
                         " (" + std::to_string(b.id) + ")");
            if (isGroup(a) == isGroup(b)) {
                ADD_FAILURE() << "they overlap";
            } else {
                EXPECT_TRUE(isGroup(a) ? Inside(b.rect, a.rect) : Inside(a.rect, b.rect));
            }
        }
    }
}

TEST(ResourceScript, RadioPairIsOneGroupStartingAtPercent) {
    const DialogTemplate& dialog = ui::ProgramResources().dialogs.at(102);
    const auto find = [&](int id) -> const ControlTemplate& {
        for (const auto& c : dialog.controls) {
            if (c.id == id) return c;
        }
        throw std::out_of_range("no control");
    };
    EXPECT_NE(find(1006).style & ui::kWsGroup, 0u);
    EXPECT_EQ(find(1049).style & ui::kWsGroup, 0u);
}

TEST(ResourceScript, StringsAndIcon) {
    const ui::ResourceScript& script = ui::ProgramResources();
    EXPECT_EQ(script.strings.at(101), "&About Hexwarden...");
    EXPECT_TRUE(script.icons.contains(128));
}

TEST(ResourceScript, ReadsQuotesEscapesStylesAndComments) {
    const ui::ResourceScript script = ui::ParseResourceScript(R"(
#include <windows.h>
/* a block
   comment */
7 DIALOGEX 2, 3, 40, 20
STYLE WS_POPUP | 0x10
CAPTION "Say ""hi"""
BEGIN
    CONTROL "a\tb\\c", -1, "Static", SS_CENTER | NOT WS_VISIBLE | WS_DISABLED, 1, 2, 3, 4, WS_EX_CLIENTEDGE
    CONTROL 128, 5, "Static", SS_ICON, 0, 0, 0x10, 16
END
STRINGTABLE
BEGIN
    9, "nine"
END
)");
    const DialogTemplate& dialog = script.dialogs.at(7);
    EXPECT_EQ(dialog.caption, "Say \"hi\"");
    EXPECT_EQ(dialog.rect, (ui::Rect{2, 3, 42, 23}));
    EXPECT_EQ(dialog.style, 0x80000010u);
    ASSERT_EQ(dialog.controls.size(), 2u);
    EXPECT_EQ(dialog.controls[0].text, "a\tb\\c");
    EXPECT_EQ(dialog.controls[0].style, ui::kWsChild | ui::kWsDisabled | 0x1u);
    EXPECT_EQ(dialog.controls[0].exStyle, 0x200u);
    EXPECT_EQ(dialog.controls[1].text, "128");
    EXPECT_EQ(dialog.controls[1].rect, (ui::Rect{0, 0, 16, 16}));
    EXPECT_EQ(script.strings.at(9), "nine");
}

TEST(ResourceScript, RefusesWhatItDoesNotUnderstand) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"1 DIALOGEX 0, 0, 1, 1\nSTYLE WS_BOGUS\nBEGIN\nEND", "line 2: unknown style WS_BOGUS"},
        {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\nPUSHBUTTON \"x\", 1, 0, 0, 1, 1\nEND",
         "line 3: expected CONTROL"},
        {"STRINGTABLE\nBEGIN\n1 \"open\nEND", "line 3: unterminated string"},
        {"1 DIALOGEX 0, 0, 1\nBEGIN\nEND", "line 2: expected ','"},
        {"IDD_MAIN DIALOGEX 0, 0, 1, 1\nBEGIN\nEND", "line 1: resource names must be numbers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ui::ParseResourceScript(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace hw::test
