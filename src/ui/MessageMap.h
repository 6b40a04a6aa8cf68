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
// and in its source file:
//     const ui::MessageMapEntry ConsoleDialog::messageMap[] = {
//         ui::OnSysCommand(&ConsoleDialog::OnSysCommand),
//         ui::OnCommand(1005, &ConsoleDialog::OnGetReport),
//         ui::OnCommandRange(1006, 1049, &ConsoleDialog::OnCorrectionMode),
//     };
//     std::span<const ui::MessageMapEntry> ConsoleDialog::GetMessageMap() const {
//         return messageMap;
//     }
// Handlers may be private and may be virtual (the call goes through the
// virtual table).
#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "ui/Types.h"

namespace hw::ui {

class Dialog;

// A handler of a window message: its result is the message's result. To
// leave the message to the default processing, call Dialog::Default().
using MessageHandler = std::intptr_t (Dialog::*)(const Message&);
// A handler of a command (a control's notification).
using CommandHandler = void (Dialog::*)();
// A command handed on to one of the dialog's members (OnCommandTo).
using CommandCall = void (*)(Dialog&);
// A message handler of any signature, kept in the bits of this type (every
// member function pointer of Dialog has the same size); the entry's decoder
// turns it back into its own type.
using AnyHandler = void (Dialog::*)();
// Decodes message into the handler's arguments, calls it and encodes its
// answer as the message's result.
using MessageDecoder = std::intptr_t (*)(Dialog& dialog, AnyHandler handler,
                                         const Message& message);

struct MessageMapEntry {
    enum class Kind { Message, Command, CommandRange };

    Kind kind = Kind::Message;
    std::uint32_t message = 0;           // Kind::Message: the window message
    int firstId = 0;                     // Kind::Command(Range): control ids,
    int lastId = 0;                      //   inclusive
    std::uint16_t code = kBnClicked;     // Kind::Command(Range): notification code
    AnyHandler onMessage = nullptr;      // Kind::Message, with
    MessageDecoder decode = nullptr;     //   its decoder
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

// The entry for message, handled by handler, a member of a dialog class D
// with the signature H has in Dialog; decode calls it.
template <class H, class D>
MessageMapEntry DecodedMessage(std::uint32_t message, D handler, MessageDecoder decode) {
    MessageMapEntry e;
    e.kind = MessageMapEntry::Kind::Message;
    e.message = message;
    e.onMessage = std::bit_cast<AnyHandler>(static_cast<H>(handler));
    e.decode = decode;
    return e;
}

// Calls handler, stored as AnyHandler, as the H it is.
template <class H, class... Args>
decltype(auto) CallAs(Dialog& dialog, AnyHandler handler, Args&&... args) {
    return (dialog.*std::bit_cast<H>(handler))(std::forward<Args>(args)...);
}

// A point packed in lParam: x in the low word, y in the high word, both signed.
constexpr Point PackedPoint(std::intptr_t lParam) {
    const auto bits = static_cast<std::uint32_t>(lParam);
    return {static_cast<std::int16_t>(bits & 0xFFFF), static_cast<std::int16_t>(bits >> 16)};
}

// Any window message, undecoded: the handler's result is the message's.
template <class D>
MessageMapEntry OnMessage(std::uint32_t message, std::intptr_t (D::*handler)(const Message&)) {
    static_assert(std::is_base_of_v<Dialog, D>);
    return DecodedMessage<MessageHandler>(
        message, handler, [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
            return CallAs<MessageHandler>(d, h, m);
        });
}

// WM_TIMER: the timer's event id.
template <class D>
MessageMapEntry OnTimer(void (D::*handler)(std::uintptr_t event)) {
    using H = void (Dialog::*)(std::uintptr_t);
    return DecodedMessage<H>(kWmTimer, handler,
                             [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
                                 CallAs<H>(d, h, m.wParam);
                                 return 0;
                             });
}

// WM_SYSCOMMAND: the command, without the four low bits the system keeps
// for itself.
template <class D>
MessageMapEntry OnSysCommand(void (D::*handler)(std::uintptr_t command)) {
    using H = void (Dialog::*)(std::uintptr_t);
    return DecodedMessage<H>(kWmSysCommand, handler,
                             [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
                                 CallAs<H>(d, h, m.wParam & 0xFFF0);
                                 return 0;
                             });
}

// WM_SIZE: the new size of the client area.
template <class D>
MessageMapEntry OnSize(void (D::*handler)(Size client)) {
    using H = void (Dialog::*)(Size);
    return DecodedMessage<H>(
        kWmSize, handler, [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
            const auto bits = static_cast<std::uint32_t>(m.lParam);
            CallAs<H>(d, h, Size{static_cast<int>(bits & 0xFFFF), static_cast<int>(bits >> 16)});
            return 0;
        });
}

// WM_PAINT.
template <class D>
MessageMapEntry OnPaint(void (D::*handler)()) {
    using H = void (Dialog::*)();
    return DecodedMessage<H>(kWmPaint, handler,
                             [](Dialog& d, AnyHandler h, const Message&) -> std::intptr_t {
                                 CallAs<H>(d, h);
                                 return 0;
                             });
}

// WM_ERASEBKGND: the handler answers whether the background counts as erased.
template <class D>
MessageMapEntry OnEraseBackground(bool (D::*handler)()) {
    using H = bool (Dialog::*)();
    return DecodedMessage<H>(kWmEraseBkgnd, handler,
                             [](Dialog& d, AnyHandler h, const Message&) -> std::intptr_t {
                                 return CallAs<H>(d, h) ? 1 : 0;
                             });
}

// WM_NCHITTEST: the screen point; the handler answers the hit-test code.
template <class D>
MessageMapEntry OnNcHitTest(std::intptr_t (D::*handler)(Point screen)) {
    using H = std::intptr_t (Dialog::*)(Point);
    return DecodedMessage<H>(kWmNcHitTest, handler,
                             [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
                                 return CallAs<H>(d, h, PackedPoint(m.lParam));
                             });
}

// WM_DEVICECHANGE: the event and its data; the handler answers whether it
// grants what the event asks (true for an event that asks nothing).
template <class D>
MessageMapEntry OnDeviceChange(bool (D::*handler)(std::uintptr_t event, std::intptr_t data)) {
    using H = bool (Dialog::*)(std::uintptr_t, std::intptr_t);
    return DecodedMessage<H>(kWmDeviceChange, handler,
                             [](Dialog& d, AnyHandler h, const Message& m) -> std::intptr_t {
                                 return CallAs<H>(d, h, m.wParam, m.lParam) ? 1 : 0;
                             });
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
