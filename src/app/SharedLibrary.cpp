#include "app/SharedLibrary.h"

#include <QDir>
#include <QFile>

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace corvix {

SharedLibrary::~SharedLibrary() { unload(); }

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_))
{
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool SharedLibrary::load(const QString& path)
{
    unload();
    path_ = path;
    error_.clear();
#ifdef _WIN32
    handle_ = LoadLibraryW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()));
    if (handle_ == nullptr) {
        error_ = QStringLiteral("%1 could not be loaded (error %2)").arg(path).arg(GetLastError());
    }
#else
    handle_ = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = QString::fromLocal8Bit(dlerror());
    }
#endif
    return handle_ != nullptr;
}

void SharedLibrary::unload()
{
    if (handle_ != nullptr) {
#ifdef _WIN32
        FreeLibrary(static_cast<HMODULE>(handle_));
#else
        dlclose(handle_);
#endif
        handle_ = nullptr;
    }
}

void* SharedLibrary::symbol(const char* name) const { return symbolOf(handle_, name); }

void* SharedLibrary::symbolOf(void* nativeHandle, const char* name)
{
    if (nativeHandle == nullptr) {
        return nullptr;
    }
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(nativeHandle), name));
#else
    return dlsym(nativeHandle, name);
#endif
}

QString SharedLibrary::fileMask()
{
#ifdef _WIN32
    return QStringLiteral("*.dll");
#else
    return QStringLiteral("*.so");
#endif
}

}  // namespace corvix
