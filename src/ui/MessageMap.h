// A dialog's message map: a declared table of entries, each naming a window
// message, a command from one control, or a command from a range of
// controls, with the member that handles it. The dialog looks the table up
// in order and the first matching entry wins; a message no entry matches
// goes to the default processing (IDOK to OnOK, IDCANCEL to OnCancel, the
// rest to the window system).
//
// Declaring one, in the dialog's header:
//     class ConsoleDialog : public ui::Dialog {
//         ...
//     protected:
//         std::span<const ui::MessageMapEntry> GetMessageMap() const override;
//     private:
//         std::intptr_t OnSysCommand(const ui::Message& message);
//         void OnGetReport();
//         static const ui::MessageMapEntry messageMap[];
//     };
// and in its source file:
//     const ui::MessageMapEntry ConsoleDialog::messageMap[] = {
//         ui::OnMessage(ui::kWmSysCommand, &ConsoleDialog::OnSysCommand),
//         ui::OnCommand(1005, &ConsoleDialog::OnGetReport),
//         ui::OnCommandRange(1006, 1049, &ConsoleDialog::OnCorrectionMode),
//     };
//     std::span<const ui::MessageMapEntry> ConsoleDialog::GetMessageMap() const {
//         return messageMap;
//     }
// Handlers may be private and may be virtual (the call goes through the
// virtual table).
#pragma once

#include <cstdint>
#include <type_traits>

#include "ui/Types.h"

namespace hw::ui {

class Dialog;

// A handler of a window message: its result is the message's result. To
// leave the message to the default processing, return Dialog::Default(m).
using MessageHandler = std::intptr_t (Dialog::*)(const Message&);
// A handler of a command (a control's notification).
using CommandHandler = void (Dialog::*)();
// A command handed on to one of the dialog's members (OnCommandTo).
using CommandCall = void (*)(Dialog&);

struct MessageMapEntry {
    enum class Kind { Message, Command, CommandRange };

    Kind kind = Kind::Message;
    std::uint32_t message = 0;           // Kind::Message: the window message
    int firstId = 0;                     // Kind::Command(Range): control ids,
    int lastId = 0;                      //   inclusive
    std::uint16_t code = kBnClicked;     // Kind::Command(Range): notification code
    MessageHandler onMessage = nullptr;  // Kind::Message
    CommandHandler onCommand = nullptr;  // Kind::Command(Range)
    CommandCall onCall = nullptr;        // Kind::Command, in place of onCommand

    // Whether this entry claims the message.
    bool Matches(const Message& m) const {
        if (kind == Kind::Message) return m.message == message;
        if (m.message != kWmCommand || ((m.wParam >> 16) & 0xFFFF) != code) return false;
        const int id = static_cast<int>(m.wParam & 0xFFFF);
        return id >= firstId && id <= lastId;
    }
};

// A window message (WM_TIMER, WM_DEVICECHANGE, WM_SYSCOMMAND, WM_PAINT, ...).
template <class D>
constexpr MessageMapEntry OnMessage(std::uint32_t message,
                                    std::intptr_t (D::*handler)(const Message&)) {
    static_assert(std::is_base_of_v<Dialog, D>);
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Message;
    e.message = message;
    e.onMessage = static_cast<MessageHandler>(handler);
    return e;
}

// A notification (BN_CLICKED unless given) from control id.
template <class D>
constexpr MessageMapEntry OnCommand(int id, void (D::*handler)(), std::uint16_t code = kBnClicked) {
    static_assert(std::is_base_of_v<Dialog, D>);
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Command;
    e.firstId = id;
    e.lastId = id;
    e.code = code;
    e.onCommand = static_cast<CommandHandler>(handler);
    return e;
}

// A notification (BN_CLICKED unless given) from any control id from firstId
// to lastId inclusive.
template <class D>
constexpr MessageMapEntry OnCommandRange(int firstId, int lastId, void (D::*handler)(),
                                         std::uint16_t code = kBnClicked) {
    MessageMapEntry e = OnCommand(firstId, handler, code);
    e.kind = MessageMapEntry::Kind::CommandRange;
    e.lastId = lastId;
    return e;
}

// The class a pointer to a data member belongs to.
template <class T>
struct MemberOwner;
template <class C, class M>
struct MemberOwner<M C::*> {
    using Class = C;
};

// Calls Procedure of the dialog's data member Unit.
template <auto Unit, auto Procedure>
void CallMemberProcedure(Dialog& dialog) {
    using D = typename MemberOwner<decltype(Unit)>::Class;
    ((static_cast<D&>(dialog).*Unit).*Procedure)();
}

// A notification (BN_CLICKED unless given) from control id, handled by a
// procedure of one of the dialog's members:
//     ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::ShowReport>(1005)
template <auto Unit, auto Procedure>
constexpr MessageMapEntry OnCommandTo(int id, std::uint16_t code = kBnClicked) {
    static_assert(std::is_base_of_v<Dialog, typename MemberOwner<decltype(Unit)>::Class>);
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Command;
    e.firstId = id;
    e.lastId = id;
    e.code = code;
    e.onCall = &CallMemberProcedure<Unit, Procedure>;
    return e;
}

}  // namespace hw::ui
