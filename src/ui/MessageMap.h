// A dialog's message map: a declared table of entries, each naming a window
// message, a command from one control, or a command from a range of
// controls, with the member that handles it. A window message is decoded
// once, by its entry, into the handler's typed arguments (OnTimer gives the
// event id, OnSize the client size, ...); OnMessage hands any other message
// over as it came. The dialog looks the table up
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
//         void OnSysCommand(std::uintptr_t command);
//         void OnGetReport();
//         static const ui::MessageMapEntry messageMap[];
//     };
// and in its source file, a table the compiler makes (constinit: no code runs
// at the program's start to fill it in):
//     constinit const ui::MessageMapEntry ConsoleDialog::messageMap[] = {
//         ui::OnSysCommand<&ConsoleDialog::OnSysCommand>(),
//         ui::OnCommand<&ConsoleDialog::OnGetReport>(1005),
//         ui::OnCommandRange<&ConsoleDialog::OnCorrectionMode>(1006, 1049),
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

// Calls the handler of a command (a control's notification) it was made for,
// a member of the dialog or of one of its data members (OnCommandTo).
using CommandCall = void (*)(Dialog& dialog);
// Decodes message into the arguments of the handler it was made for, calls
// it and encodes its answer as the message's result.
using MessageDecoder = std::intptr_t (*)(Dialog& dialog, const Message& message);

struct MessageMapEntry {
    enum class Kind { Message, Command, CommandRange };

    Kind kind = Kind::Message;
    std::uint32_t message = 0;        // Kind::Message: the window message
    int firstId = 0;                  // Kind::Command(Range): control ids,
    int lastId = 0;                   //   inclusive
    std::uint16_t code = kBnClicked;  // Kind::Command(Range): notification code
    MessageDecoder decode = nullptr;  // Kind::Message: decodes and handles it
    CommandCall onCommand = nullptr;  // Kind::Command(Range): calls its handler

    // Whether this entry claims the message.
    bool Matches(const Message& m) const {
        if (kind == Kind::Message) return m.message == message;
        if (m.message != kWmCommand || ((m.wParam >> 16) & 0xFFFF) != code) return false;
        const int id = static_cast<int>(m.wParam & 0xFFFF);
        return id >= firstId && id <= lastId;
    }
};

// The class a pointer to a member belongs to.
template <class T>
struct MemberOwner;
template <class C, class M>
struct MemberOwner<M C::*> {
    using Class = C;
};

// Whether Handler is a member function of a dialog class with the signature
// H has in Dialog (H converts to it only then).
template <auto Handler, class H>
constexpr bool kHandles = std::is_convertible_v<H, decltype(Handler)>;

// The dialog a message came to, as the class Handler belongs to.
template <auto Handler>
auto& HandlerDialog(Dialog& dialog) {
    return static_cast<typename MemberOwner<decltype(Handler)>::Class&>(dialog);
}

// The entry for message, decoded and handled by decode.
constexpr MessageMapEntry DecodedMessage(std::uint32_t message, MessageDecoder decode) {
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Message;
    e.message = message;
    e.decode = decode;
    return e;
}

// A point packed in lParam: x in the low word, y in the high word, both signed.
constexpr Point PackedPoint(std::intptr_t lParam) {
    const auto bits = static_cast<std::uint32_t>(lParam);
    return {static_cast<std::int16_t>(bits & 0xFFFF), static_cast<std::int16_t>(bits >> 16)};
}

// Any window message, undecoded: the handler's result is the message's (to
// leave the message to the default processing, it calls Dialog::Default()).
//     ui::OnMessage<&ConsoleDialog::OnClose>(ui::kWmClose)
template <auto Handler>
constexpr MessageMapEntry OnMessage(std::uint32_t message) {
    static_assert(kHandles<Handler, std::intptr_t (Dialog::*)(const Message&)>);
    return DecodedMessage(message, [](Dialog& d, const Message& m) -> std::intptr_t {
        return (HandlerDialog<Handler>(d).*Handler)(m);
    });
}

// WM_TIMER: the timer's event id.
template <auto Handler>
constexpr MessageMapEntry OnTimer() {
    static_assert(kHandles<Handler, void (Dialog::*)(std::uintptr_t)>);
    return DecodedMessage(kWmTimer, [](Dialog& d, const Message& m) -> std::intptr_t {
        (HandlerDialog<Handler>(d).*Handler)(m.wParam);
        return 0;
    });
}

// WM_SYSCOMMAND: the command, without the four low bits the system keeps
// for itself.
template <auto Handler>
constexpr MessageMapEntry OnSysCommand() {
    static_assert(kHandles<Handler, void (Dialog::*)(std::uintptr_t)>);
    return DecodedMessage(kWmSysCommand, [](Dialog& d, const Message& m) -> std::intptr_t {
        (HandlerDialog<Handler>(d).*Handler)(m.wParam & 0xFFF0);
        return 0;
    });
}

// WM_SIZE: the new size of the client area.
template <auto Handler>
constexpr MessageMapEntry OnSize() {
    static_assert(kHandles<Handler, void (Dialog::*)(Size)>);
    return DecodedMessage(kWmSize, [](Dialog& d, const Message& m) -> std::intptr_t {
        const auto bits = static_cast<std::uint32_t>(m.lParam);
        (HandlerDialog<Handler>(d).*
         Handler)(Size{static_cast<int>(bits & 0xFFFF), static_cast<int>(bits >> 16)});
        return 0;
    });
}

// WM_PAINT.
template <auto Handler>
constexpr MessageMapEntry OnPaint() {
    static_assert(kHandles<Handler, void (Dialog::*)()>);
    return DecodedMessage(kWmPaint, [](Dialog& d, const Message&) -> std::intptr_t {
        (HandlerDialog<Handler>(d).*Handler)();
        return 0;
    });
}

// WM_ERASEBKGND: the handler answers whether the background counts as erased.
template <auto Handler>
constexpr MessageMapEntry OnEraseBackground() {
    static_assert(kHandles<Handler, bool (Dialog::*)()>);
    return DecodedMessage(kWmEraseBkgnd, [](Dialog& d, const Message&) -> std::intptr_t {
        return (HandlerDialog<Handler>(d).*Handler)() ? 1 : 0;
    });
}

// WM_NCHITTEST: the screen point; the handler answers the hit-test code.
template <auto Handler>
constexpr MessageMapEntry OnNcHitTest() {
    static_assert(kHandles<Handler, std::intptr_t (Dialog::*)(Point)>);
    return DecodedMessage(kWmNcHitTest, [](Dialog& d, const Message& m) -> std::intptr_t {
        return (HandlerDialog<Handler>(d).*Handler)(PackedPoint(m.lParam));
    });
}

// WM_DEVICECHANGE: the event and its data; the handler answers whether it
// grants what the event asks (true for an event that asks nothing).
template <auto Handler>
constexpr MessageMapEntry OnDeviceChange() {
    static_assert(kHandles<Handler, bool (Dialog::*)(std::uintptr_t, std::intptr_t)>);
    return DecodedMessage(kWmDeviceChange, [](Dialog& d, const Message& m) -> std::intptr_t {
        return (HandlerDialog<Handler>(d).*Handler)(m.wParam, m.lParam) ? 1 : 0;
    });
}

// Calls Handler, a command handler of the dialog's class.
template <auto Handler>
void CallCommandHandler(Dialog& dialog) {
    (HandlerDialog<Handler>(dialog).*Handler)();
}

// A notification (BN_CLICKED unless given) from control id.
template <auto Handler>
constexpr MessageMapEntry OnCommand(int id, std::uint16_t code = kBnClicked) {
    static_assert(kHandles<Handler, void (Dialog::*)()>);
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Command;
    e.firstId = id;
    e.lastId = id;
    e.code = code;
    e.onCommand = &CallCommandHandler<Handler>;
    return e;
}

// A notification (BN_CLICKED unless given) from any control id from firstId
// to lastId inclusive.
template <auto Handler>
constexpr MessageMapEntry OnCommandRange(int firstId, int lastId, std::uint16_t code = kBnClicked) {
    MessageMapEntry e = OnCommand<Handler>(firstId, code);
    e.kind = MessageMapEntry::Kind::CommandRange;
    e.lastId = lastId;
    return e;
}

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
    e.onCommand = &CallMemberProcedure<Unit, Procedure>;
    return e;
}

}  // namespace hw::ui
