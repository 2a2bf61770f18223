#pragma once

#include <cstdint>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace corvix {

namespace thunk_detail {

// The part that talks to libffi; kept out of the header so that only one file sees ffi.h.
class ClosureBase {
public:
    enum class ArgKind { U8, U16, U32, I32, Pointer };

    using Dispatch = void (*)(void* owner, void** args);
    ClosureBase(const ArgKind* kinds, int count, Dispatch dispatch, void* owner);
    ~ClosureBase();
    ClosureBase(const ClosureBase&) = delete;
    ClosureBase& operator=(const ClosureBase&) = delete;

    void* code() const { return code_; }

    // Number of closures alive in this process; lets tests prove that none leak.
    static long liveCount();

    // Called by libffi with the driver's arguments.
    void fire(void** args) { dispatch_(owner_, args); }

private:
    void* closure_ = nullptr;  // ffi_closure*, in writable memory
    void* code_ = nullptr;     // its executable alias: the address handed to a driver
    void* cif_ = nullptr;      // ffi_cif*
    void** argTypes_ = nullptr;
    Dispatch dispatch_;
    void* owner_;
};

template <typename T>
constexpr ClosureBase::ArgKind argKindOf()
{
    if constexpr (std::is_pointer_v<T>) {
        return ClosureBase::ArgKind::Pointer;
    } else if constexpr (std::is_same_v<T, uint8_t>) {
        return ClosureBase::ArgKind::U8;
    } else if constexpr (std::is_same_v<T, uint16_t>) {
        return ClosureBase::ArgKind::U16;
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return ClosureBase::ArgKind::U32;
    } else {
        static_assert(std::is_same_v<T, int32_t>, "unsupported callback argument type");
        return ClosureBase::ArgKind::I32;
    }
}

}  // namespace thunk_detail

template <typename CallbackPointer>
class CallbackThunk;

// Binds a handler (usually a lambda capturing its owning object) to a plain C function pointer
// of the contract's callback type, so a driver can call back into exactly that object. The
// address stays valid while the thunk lives; the owner embeds the thunk and so outlives every
// request that carries its address.
//
//     CallbackThunk<CorvixReplyCallback> replyThunk{[this](uint32_t tag, ...) { ... }};
//     networkRequest(handle, 1, mac, path, 0x0E, 0, nullptr, replyThunk.address());
template <typename... Args>
class CallbackThunk<void (*)(Args...)> {
public:
    using Pointer = void (*)(Args...);
    using Handler = std::function<void(Args...)>;

    explicit CallbackThunk(Handler handler)
        : handler_(std::move(handler)), closure_(kinds_, int(sizeof...(Args)), &dispatch, this)
    {
    }
    CallbackThunk(const CallbackThunk&) = delete;
    CallbackThunk& operator=(const CallbackThunk&) = delete;

    Pointer address() const { return reinterpret_cast<Pointer>(closure_.code()); }

private:
    static void dispatch(void* owner, void** args)
    {
        static_cast<CallbackThunk*>(owner)->invoke(args, std::index_sequence_for<Args...>{});
    }

    template <std::size_t... I>
    void invoke(void** args, std::index_sequence<I...>)
    {
        handler_(*static_cast<std::tuple_element_t<I, std::tuple<Args...>>*>(args[I])...);
    }

    static constexpr thunk_detail::ClosureBase::ArgKind kinds_[sizeof...(Args) ? sizeof...(Args)
                                                                                : 1] = {
        thunk_detail::argKindOf<Args>()...};

    Handler handler_;
    thunk_detail::ClosureBase closure_;
};

}  // namespace corvix
