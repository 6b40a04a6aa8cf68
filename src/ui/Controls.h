// Control objects bound to one item of a dialog (DataExchange::Control): the calls of
// the item through the object. An unbound control does nothing and reads
// as empty.
#pragma once

#include <string>
#include <string_view>

#include "ui/Types.h"

namespace hw::ui {

class DialogItems;

class Control {
  public:
    virtual ~Control() = default;

    bool IsBound() const { return items_ != nullptr && window_ != kNoWindow; }
    int id() const { return id_; }
    WindowId window() const { return window_; }

    std::string GetText() const;
    void SetText(std::string_view text);
    void Enable(bool enable);
    bool IsEnabled() const;
    void Show(bool show);
    bool IsVisible() const;
    void Focus();

    // Binds the object to item id of window (done by DataExchange::Control).
    void Bind(DialogItems& items, WindowId window, int id);

  protected:
    DialogItems* items_ = nullptr;
    WindowId window_ = kNoWindow;
    int id_ = 0;
};

class EditControl : public Control {};

class ProgressControl : public Control {
  public:
    void SetRange(int lower, int upper);
    void SetPos(int pos);
};

}  // namespace hw::ui
