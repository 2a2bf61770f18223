#include "app/CallbackThunk.h"

#include <ffi.h>

#include <atomic>
#include <new>

namespace corvix::thunk_detail {

namespace {

std::atomic<long> liveClosures{0};

ffi_type* ffiTypeOf(ClosureBase::ArgKind kind)
{
    switch (kind) {
        case ClosureBase::ArgKind::U8: return &ffi_type_uint8;
        case ClosureBase::ArgKind::U16: return &ffi_type_uint16;
        case ClosureBase::ArgKind::U32: return &ffi_type_uint32;
        case ClosureBase::ArgKind::I32: return &ffi_type_sint32;
        case ClosureBase::ArgKind::Pointer: return &ffi_type_pointer;
    }
    return &ffi_type_pointer;
}

#if defined(_WIN32) && !defined(_WIN64)
constexpr ffi_abi callbackAbi = FFI_STDCALL;  // the contract's convention on 32-bit Windows
#else
constexpr ffi_abi callbackAbi = FFI_DEFAULT_ABI;
#endif

void ffiTrampoline(ffi_cif*, void*, void** args, void* self)
{
    static_cast<ClosureBase*>(self)->fire(args);
}

}  // namespace

ClosureBase::ClosureBase(const ArgKind* kinds, int count, Dispatch dispatch, void* owner)
    : dispatch_(dispatch), owner_(owner)
{
    auto* cif = new ffi_cif;
    auto** types = new void*[count > 0 ? count : 1];
    for (int i = 0; i < count; ++i) {
        types[i] = ffiTypeOf(kinds[i]);
    }
    cif_ = cif;
    argTypes_ = types;
    if (ffi_prep_cif(cif, callbackAbi, unsigned(count), &ffi_type_void,
                     reinterpret_cast<ffi_type**>(types)) != FFI_OK) {
        delete cif;
        delete[] types;
        throw std::bad_alloc();
    }
    closure_ = ffi_closure_alloc(sizeof(ffi_closure), &code_);
    if (closure_ == nullptr ||
        ffi_prep_closure_loc(static_cast<ffi_closure*>(closure_), cif, &ffiTrampoline, this,
                             code_) != FFI_OK) {
        if (closure_ != nullptr) {
            ffi_closure_free(closure_);
        }
        delete cif;
        delete[] types;
        throw std::bad_alloc();
    }
    ++liveClosures;
}

ClosureBase::~ClosureBase()
{
    ffi_closure_free(closure_);
    delete static_cast<ffi_cif*>(cif_);
    delete[] argTypes_;
    --liveClosures;
}

long ClosureBase::liveCount() { return liveClosures.load(); }

}  // namespace corvix::thunk_detail
