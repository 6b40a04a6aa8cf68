// The window system's shell services: message boxes, the common file
// dialogs, documents opened in the program the system associates with them,
// a window's system menu and the program's own resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Types.h"

namespace hw::ui {

// An open or save-as file dialog.
struct FileDialogOptions {
    bool open = true;              // open dialog; false: save-as dialog
    std::string defaultExtension;  // appended to a typed name without one; empty: none
    std::string initialName;       // file name shown at first; empty: none
    std::string initialFolder;     // folder shown at first; empty: the system's choice
    // Dialogs of one kind open in the folder of the file last chosen with
    // one of them (Application::ShowFileDialog); empty: no kind.
    std::string folderKind;
    std::uint32_t flags = 0;  // kOfnHideReadOnly, kOfnOverwritePrompt
    // Filter in the form "Text file (*.txt)|*.txt|all |*.*||": pairs of a
    // description and a pattern, each ended by '|', the list by one more '|'.
    std::string filter;
    // When set, receives the 1-based number of the filter the user had
    // chosen when a path was returned (the dialog's nFilterIndex).
    int* chosenFilter = nullptr;
};

class Shell {
  public:
    virtual ~Shell() = default;

    // A modal message box owned by owner (kNoWindow: the thread's active
    // window). Returns the answer: kIdOk, kIdCancel, kIdYes, kIdNo.
    virtual int ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                               std::uint32_t style) = 0;
    // The common open / save-as dialog. The chosen full path, or nullopt
    // when the user cancelled.
    virtual std::optional<std::string> ShowFileDialog(WindowId owner,
                                                      const FileDialogOptions& options) = 0;
    // Opens the document at path in the program the system associates with
    // its type (an HTML page in the default browser), owned by owner. False
    // when the system could not open it.
    virtual bool OpenDocument(WindowId owner, const std::string& path) = 0;
    // The window has a system menu (GetSystemMenu).
    virtual bool HasSystemMenu(WindowId window) const = 0;
    // Appends a separator to the window's system menu.
    virtual void AppendSystemMenuSeparator(WindowId window) = 0;
    // Appends an item with text and command id to the window's system menu;
    // choosing it sends WM_SYSCOMMAND with wParam commandId.
    virtual void AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) = 0;
    // String resource id; empty when there is none.
    virtual std::string LoadStringResource(int id) const = 0;
    // Icon resource id at the system's standard icon size; 0 when none.
    virtual IconHandle LoadIconResource(int id) const = 0;
};

}  // namespace hw::ui
